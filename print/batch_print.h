// "连打": every record of the last batch page printed in turn, through the
// print job and its questions, until one cannot be printed.
#pragma once

#include <functional>
#include <string>

#include "print/print_job.h"
#include "recognize/recognizer.h"

namespace print {

// Records already printed today are asked about once, for all of them; a
// batch stopped half-way names the record it stopped at and goes on with
// the rest when started again.
//
// While it runs, recognition and the record list are off, and the batch
// button reads "停止". `stop_requested` is asked before every record: true
// (the seller pressed "停止", the window is closing) ends the batch after
// the waybill in progress; the rest print at the next start.
void print_batch(PrintJob& job, recognize::Recognizer& recognizer, const std::string& printer,
                 const std::function<bool()>& stop_requested = {});

// Where a batch's records went: every record is in one count or remains.
struct BatchCounts {
  int printed = 0;
  int skipped = 0;   // printed earlier today, skipped as the seller chose
  int declined = 0;  // a question about it was answered "否"
  int failed = 0;    // could not be printed: the batch stopped there
};

// "已打印 2 条，跳过 0 条，答“否”未打印 1 条，剩余 0 条": the declined and
// the failed named only when there are any.
std::string batch_counts_text(const BatchCounts& counts, int remaining);

// The batch button's text while no batch runs, and while one does.
inline constexpr char kBatchButton[] = "连打";
inline constexpr char kStopBatchButton[] = "停止";

}  // namespace print

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

// The batch button's text while no batch runs, and while one does.
inline constexpr char kBatchButton[] = "连打";
inline constexpr char kStopBatchButton[] = "停止";

}  // namespace print

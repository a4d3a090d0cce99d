// "连打": every record of the last batch page printed in turn, through the
// print job and its questions, until one cannot be printed.
#pragma once

#include <string>

#include "print/print_job.h"
#include "recognize/recognizer.h"

namespace print {

// Records already printed today are asked about once, for all of them; a
// batch stopped half-way names the record it stopped at and goes on with
// the rest when started again.
void print_batch(PrintJob& job, recognize::Recognizer& recognizer, const std::string& printer);

}  // namespace print

#include "print/duplicate_guard.h"

#include <algorithm>

#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace print {

int DuplicateGuard::days() const {
  std::string days = settings::CfgFile(settings_path_).repeat_days();
  return int(std::clamp<int64_t>(rt::leading_integer(days), 0, 3650));
}

int DuplicateGuard::today() {
  double now = rt::now();
  return day_number(rt::year(now), rt::month(now), rt::day(now));
}

// The history is there only while the log is: a seller who deleted it has
// no history and no guard, as before.
History* DuplicateGuard::history() {
  if (!rt::file_exists(log_path())) {
    history_.reset();
    return nullptr;
  }
  if (!history_) history_.emplace(log_path());
  history_->refresh();
  return &*history_;
}

const HistoryEntry* DuplicateGuard::earlier_print(const WaybillTexts& texts) {
  int look_back = days();
  History* h = look_back > 0 ? history() : nullptr;
  return h ? h->find(texts, today() - look_back) : nullptr;
}

int DuplicateGuard::printed_today(const WaybillTexts& texts) {
  History* h = days() > 0 ? history() : nullptr;
  return h ? h->count(texts, today()) : 0;
}

bool DuplicateGuard::has_log() const { return rt::file_exists(log_path()); }

bool DuplicateGuard::create_log() const { return rt::create_file(log_path()); }

std::string DuplicateGuard::record(const WaybillTexts& texts, const std::string& template_name,
                                   const std::string& waybill_number) {
  std::string path = log_path();
  if (!rt::file_exists(path)) return {};
  PrintNote note{texts.time, template_name, waybill_number, texts.parcel.order_number};
  // One write: another running copy's line never comes between the two.
  rt::AppendOutcome outcome = rt::append_line(path, log_line(texts) + "\r\n" + log_note(note));
  if (outcome == rt::AppendOutcome::appended) return {};
  if (!history_) history_.emplace(path);
  history_->remember_unlogged(texts, note);
  return outcome == rt::AppendOutcome::cannot_open ? "文件只读或正被其他程序使用" : "写入失败";
}

}  // namespace print

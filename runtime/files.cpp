#include "runtime/files.h"

#include <string>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/command_args.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/file_system.h"
#include "runtime/heap.h"
#include "runtime/platform.h"
#include "runtime/text_ops.h"

namespace rt {

namespace {

OpenFile* open_files = nullptr;

void close_all_files() {
  while (open_files) close_file(open_files);
}

std::string_view exe_path_part(bool directory) {
  static const std::string path = platform_exe_path();
  size_t cut = last_path_separator(path);
  if (cut == std::string::npos) return directory ? std::string_view() : std::string_view(path);
  return directory ? std::string_view(path).substr(0, cut) : std::string_view(path).substr(cut + 1);
}

struct OpenMode {
  int access;
  PlatformCreate create;
};

OpenMode open_mode(std::optional<int> mode) {
  switch (mode.value_or(kOpenReadWrite)) {
    case kOpenRead: return {1, PlatformCreate::open_existing};
    case kOpenWrite: return {2, PlatformCreate::open_existing};
    case kOpenTruncateOrCreate: return {2, PlatformCreate::create_always};
    case kOpenWriteCreate: return {2, PlatformCreate::open_always};
    case kOpenReadWriteCreate: return {3, PlatformCreate::open_always};
    default: return {3, PlatformCreate::open_existing};
  }
}

PlatformShare share_mode(std::optional<int> share) {
  switch (share.value_or(kShareBoth)) {
    case kShareWrite: return PlatformShare::write;
    case kShareRead: return PlatformShare::read;
    case kShareNone: return PlatformShare::none;
    default: return PlatformShare::read_write;
  }
}

// The line a value writes: texts as they are, other basic values as
// rt_to_text gives them; null for values that cannot be text.
std::optional<Text> line_text(const RtArg& value) {
  if (rt_is_ref(value.type) || value.type == RT_BYTES || rt_type_width(value.type) == 0)
    return std::nullopt;
  return to_text(value);
}

}  // namespace

size_t last_path_separator(std::string_view path) {
  size_t cut = std::string_view::npos;
  for (size_t at = 0; at < path.size(); at += is_lead_byte(path[at]) ? 2 : 1)
    if (path[at] == '\\' || path[at] == '/') cut = at;
  return cut;
}

Text exe_dir() { return Text(exe_path_part(true)); }
Text exe_name() { return Text(exe_path_part(false)); }

bool file_exists(std::string_view path) { return platform_path_exists(std::string(path).c_str()); }
bool delete_file(std::string_view path) { return platform_delete_file(std::string(path).c_str()); }
bool move_file(std::string_view from, std::string_view to) {
  return platform_move_file(std::string(from).c_str(), std::string(to).c_str());
}

std::optional<std::string> read_file(std::string_view path) { return read_file_from(path, 0); }

std::optional<std::string> read_file_from(std::string_view path, uint64_t offset) {
  FileSystem& files = file_system();
  intptr_t handle =
      files.open(std::string(path), 1, PlatformCreate::open_existing, PlatformShare::read_write);
  if (handle == -1) return std::nullopt;
  if (offset > 0 && !platform_file_seek(handle, offset)) {
    files.close(handle);
    return std::nullopt;
  }
  std::string bytes;
  char piece[65536];
  int64_t n = 0;
  while ((n = files.read(handle, piece, sizeof piece)) > 0) bytes.append(piece, size_t(n));
  files.close(handle);
  // A read that failed is no end of the file: what came before it is not
  // the whole file.
  if (n < 0) return std::nullopt;
  return bytes;
}

bool replace_file_contents(std::string_view path, std::string_view bytes) {
  FileSystem& files = file_system();
  std::string target(path);
  std::string temporary = target + ".new";
  std::optional<uint32_t> attributes = files.attributes(target);
  if (attributes && (*attributes & kAttributeReadOnly)) return false;  // as a write to it would
  // A temporary file an interrupted write left behind may be hidden, and a
  // new file is never created over a hidden one.
  if (files.attributes(temporary) && !files.remove(temporary)) return false;
  intptr_t handle =
      files.open(temporary, 2, PlatformCreate::create_always, PlatformShare::none);
  if (handle == -1) return false;
  bool written = files.write(handle, bytes) && files.flush(handle);
  files.close(handle);
  bool replaced = written && (!attributes || files.set_attributes(temporary, *attributes)) &&
                  files.replace(temporary, target);
  if (!replaced) files.remove(temporary);
  return replaced;
}

bool write_file_durably(std::string_view path, std::string_view bytes) {
  intptr_t handle = platform_file_open(std::string(path).c_str(), 2, PlatformCreate::create_always,
                                       PlatformShare::none);
  if (handle == -1) return false;
  bool done =
      platform_file_write(handle, bytes.data(), bytes.size()) && platform_file_flush(handle);
  platform_file_close(handle);
  return done;
}

bool move_file_durably(std::string_view from, std::string_view to) {
  return platform_move_file_write_through(std::string(from).c_str(), std::string(to).c_str());
}

bool create_file(std::string_view path) {
  intptr_t handle = platform_file_open(std::string(path).c_str(), 2, PlatformCreate::open_always,
                                       PlatformShare::read_write);
  if (handle == -1) return false;
  platform_file_close(handle);
  return true;
}

bool write_file(std::string_view path, std::span<const std::string_view> pieces) {
  intptr_t handle = platform_file_open(std::string(path).c_str(), 2, PlatformCreate::create_always,
                                       PlatformShare::none);
  if (handle == -1) return false;
  bool written = true;
  for (std::string_view piece : pieces) {
    if (!platform_file_write(handle, piece.data(), piece.size())) {
      written = false;
      break;
    }
  }
  platform_file_close(handle);
  return written;
}

OpenFile* open_file(std::string_view path, std::optional<int> mode, std::optional<int> share) {
  OpenMode m = open_mode(mode);
  intptr_t handle =
      platform_file_open(std::string(path).c_str(), m.access, m.create, share_mode(share));
  if (handle == -1) return nullptr;
  auto* file = static_cast<OpenFile*>(rt_alloc(sizeof(OpenFile)));
  *file = OpenFile{1, handle, open_files};
  open_files = file;
  rt_set_exit_step(RtExitStep::close_files, close_all_files);
  return file;
}

bool is_open(const OpenFile* file) {
  for (const OpenFile* f = open_files; f; f = f->next)
    if (f == file) return true;
  return false;
}

bool seek_end(OpenFile* file) { return is_open(file) && platform_file_seek_end(file->handle) >= 0; }

AppendOutcome append_line(std::string_view path, std::string_view line) {
  // One write at the end of the file: a line of another running copy is
  // never cut by this one.
  constexpr int kReadAndAppend = 1 | 4;
  intptr_t handle = platform_file_open(std::string(path).c_str(), kReadAndAppend,
                                       PlatformCreate::open_existing, PlatformShare::read_write);
  if (handle == -1) return AppendOutcome::cannot_open;
  int64_t size = platform_file_seek_end(handle);
  char last = '\n';
  bool placed = size >= 0 && (size == 0 || (platform_file_seek(handle, uint64_t(size - 1)) &&
                                            platform_file_read(handle, &last, 1) == 1));
  std::string bytes = (last == '\n' ? "" : "\r\n") + std::string(line) + "\r\n";
  bool written = placed && platform_file_write(handle, bytes.data(), bytes.size());
  platform_file_close(handle);
  return written ? AppendOutcome::appended : AppendOutcome::cannot_write;
}

bool write_lines(OpenFile* file, std::span<const RtArg> values) {
  if (!is_open(file)) return false;
  for (const RtArg& value : values) {
    std::optional<Text> text = line_text(value);
    std::string line = text ? std::string(text->view()) : std::string();
    if (!text || !line.empty()) line += "\r\n";
    if (!platform_file_write(file->handle, line.data(), line.size())) return false;
  }
  return true;
}

void close_file(OpenFile* file) {
  for (OpenFile** link = &open_files; *link; link = &(*link)->next) {
    if (*link != file) continue;
    *link = file->next;
    platform_file_close(file->handle);
    rt_free(file);
    break;
  }
  if (!open_files) rt_set_exit_step(RtExitStep::close_files, nullptr);
}

}  // namespace rt

namespace {

rt::OpenFile* file_arg(const CommandArgs& a, int i) {
  return a.given(i) ? static_cast<rt::OpenFile*>(rt_arg_pointer(a.raw(i))) : nullptr;
}

}  // namespace

char* rt_exe_dir(int, const RtArg*) { return rt::exe_dir().release(); }
char* rt_exe_name(int, const RtArg*) { return rt::exe_name().release(); }
int32_t rt_file_exists(int count, const RtArg* args) {
  return rt::file_exists(CommandArgs(count, args).text(0));
}
int32_t rt_delete_file(int count, const RtArg* args) {
  return rt::delete_file(CommandArgs(count, args).text(0));
}
int32_t rt_move_file(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::move_file(a.text(0), a.text(1));
}

int32_t rt_write_file(int count, const RtArg* args) {
  CommandArgs a(count, args);
  std::vector<std::string_view> pieces;
  for (int i = 1; i < a.count(); ++i) {
    const void* bytes = a.bytes(i);
    pieces.emplace_back(reinterpret_cast<const char*>(rt_byte_set_data(bytes)),
                        rt_byte_set_size(bytes));
  }
  return rt::write_file(a.text(0), pieces);
}

void* rt_open_file(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::open_file(a.text(0), a.optional_integer(1), a.optional_integer(2));
}

int32_t rt_seek_end(int count, const RtArg* args) {
  return rt::seek_end(file_arg(CommandArgs(count, args), 0));
}

int32_t rt_write_lines(int count, const RtArg* args) {
  CommandArgs a(count, args);
  if (a.count() < 1) return false;
  return rt::write_lines(file_arg(a, 0), std::span<const RtArg>(args + 1, size_t(a.count() - 1)));
}

void rt_close_file(int count, const RtArg* args) {
  rt::close_file(file_arg(CommandArgs(count, args), 0));
}

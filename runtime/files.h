// Paths of the running program, whole-file output and the list of open
// files that the exit sequence closes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/text.h"
#include "runtime/value.h"

namespace rt {

// The position of the last path separator ("\\" or "/") that is a character
// of its own, never the second byte of a GBK character (9C 5C is one
// character); npos when there is none.
size_t last_path_separator(std::string_view path);
Text exe_dir();   // without a trailing separator
Text exe_name();  // without its directory
bool file_exists(std::string_view path);
bool delete_file(std::string_view path);
bool move_file(std::string_view from, std::string_view to);

// Creates the file empty unless it exists (then it is left as it is); true
// when it exists afterwards.
bool create_file(std::string_view path);
// Creates or truncates the file and writes the pieces in order; true when
// the file opened and every write succeeded.
bool write_file(std::string_view path, std::span<const std::string_view> pieces);

// The whole file; nothing when it cannot be opened or read.
std::optional<std::string> read_file(std::string_view path);
// Replaces the file's bytes whole or not at all: they go to a temporary
// file beside it, which then takes its place with the file's attributes
// (a hidden file stays hidden). A full disk or a crash leaves the old file
// as it was; false then.
bool replace_file_contents(std::string_view path, std::string_view bytes);
// The file's bytes from `offset` on (empty past its end); none when it
// cannot be opened.
std::optional<std::string> read_file_from(std::string_view path, uint64_t offset);
// Creates or truncates the file, writes the bytes and puts them on the
// disk; true when every step succeeded.
bool write_file_durably(std::string_view path, std::string_view bytes);
// Moves the file (never over an existing one), returning only when the
// move is on the disk.
bool move_file_durably(std::string_view from, std::string_view to);

// An open file: kind (always 1, an operating-system handle), the handle,
// and the next object on the list of open files.
struct OpenFile {
  int32_t kind;
  intptr_t handle;
  OpenFile* next;
};

// How open_file opens, as the language numbers it; any other number reads
// and writes an existing file.
enum FileOpenMode : int {
  kOpenRead = 1,
  kOpenWrite = 2,
  kOpenReadWrite = 3,
  kOpenTruncateOrCreate = 4,  // write
  kOpenWriteCreate = 5,       // write, made when missing
  kOpenReadWriteCreate = 6,   // read and write, made when missing
};
// What others may do with the file meanwhile; any other number: both.
enum FileShareMode : int { kShareBoth = 1, kShareWrite = 2, kShareRead = 3, kShareNone = 4 };

// Null when the file cannot be opened.
OpenFile* open_file(std::string_view path, std::optional<int> mode = std::nullopt,
                    std::optional<int> share = std::nullopt);
// Each operation refuses (false, or nothing) an object not on the list.
bool seek_end(OpenFile* file);

enum class AppendOutcome { appended, cannot_open, cannot_write };
// Appends `line` and a line end to an existing file, on a line of its own:
// a last line left without its end (a file edited by hand) gets one first.
AppendOutcome append_line(std::string_view path, std::string_view line);
// Each value as one line; see the command.
bool write_lines(OpenFile* file, std::span<const RtArg> values);
void close_file(OpenFile* file);
bool is_open(const OpenFile* file);

}  // namespace rt

char* rt_exe_dir(int count, const RtArg* args);
char* rt_exe_name(int count, const RtArg* args);
int32_t rt_file_exists(int count, const RtArg* args);
int32_t rt_delete_file(int count, const RtArg* args);
int32_t rt_move_file(int count, const RtArg* args);
int32_t rt_write_file(int count, const RtArg* args);
void* rt_open_file(int count, const RtArg* args);
int32_t rt_seek_end(int count, const RtArg* args);
int32_t rt_write_lines(int count, const RtArg* args);
void rt_close_file(int count, const RtArg* args);

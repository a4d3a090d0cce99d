#include "app/update_check.h"

#include "app/self_update.h"
#include "runtime/files.h"
#include "runtime/platform.h"
#include "runtime/system.h"
#include "runtime/text_between.h"

namespace app {

namespace {

constexpr const char* kUpdateHost = SLIPJET_UPDATE_HOST;
constexpr size_t kReleaseLimit = size_t(64) << 20;
constexpr size_t kManifestLimit = 4096;
// However slowly the server answers: the window works on meanwhile, and
// the seller may cancel.
constexpr uint32_t kManifestDeadlineMs = 15000;
constexpr uint32_t kReleaseDeadlineMs = 180000;

std::string server_url(const char* path) { return std::string("http://") + kUpdateHost + path; }

net::HttpResponse download(const UpdateContext& context, const std::string& url, size_t limit,
                           uint32_t deadline_ms) {
  net::HttpRequest request;
  request.url = url;
  request.body_limit = limit;
  request.deadline_ms = deadline_ms;
  request.cancelled = context.cancelled;
  return net::http_request(request);
}

bool cancelled(const UpdateContext& context) { return context.cancelled && context.cancelled(); }

std::string executable_path() {
  return std::string(rt::exe_dir().view()) + platform_path_separator() +
         std::string(rt::exe_name().view());
}

// The previous executable a finished update left in the working directory.
void remove_leftover() {
  std::string leftover = std::string(rt::exe_name().view()) + ".delete";
  if (rt::file_exists(leftover)) rt::delete_file(leftover);
}

void tell_failure(const UpdateContext& context, UpdateFailure failure,
                  std::string_view offered = {}) {
  context.view.set_status("更新失败，当前版本保持不变");
  context.asker.tell(update_failure_text(failure, offered), "更新失败", RT_MB_ICONERROR);
}

// What was downloaded, or nothing when the seller cancelled; the progress
// is shown meanwhile.
struct Downloads {
  net::HttpResponse text, signature, image;
  std::optional<UpdateFailure> failure;
  ReleaseManifest manifest;
};

std::optional<Downloads> download_release(const UpdateContext& context) {
  Downloads d;
  // The signed manifest first: an older or foreign release is refused
  // before anything large is fetched.
  d.text = download(context, context.release_url + ".manifest", kManifestLimit, kManifestDeadlineMs);
  if (!cancelled(context) && is_complete(d.text))
    d.signature = download(context, context.release_url + ".manifest.sig", kManifestLimit,
                           kManifestDeadlineMs);
  if (!cancelled(context)) d.failure = check_manifest(d.text, d.signature, d.manifest);
  if (!cancelled(context) && !d.failure) {
    d.image = download(context, context.release_url, kReleaseLimit, kReleaseDeadlineMs);
    if (!cancelled(context)) d.failure = check_release(d.image, d.manifest);
  }
  if (cancelled(context)) return std::nullopt;
  return d;
}

// Downloads, checks and installs the release, then starts it and ends this
// run. Any failure leaves the program as it was, says so, and carries on.
void self_update(const UpdateContext& context) {
  context.view.set_status("正在下载新版本…");
  if (context.downloading) context.downloading(true);
  std::optional<Downloads> downloads = download_release(context);
  if (context.downloading) context.downloading(false);
  if (!downloads) {
    context.view.set_status("已取消更新，当前版本保持不变");
    return;
  }
  if (downloads->failure) {
    tell_failure(context, *downloads->failure, downloads->manifest.version);
    return;
  }
  const net::HttpResponse& image = downloads->image;
  std::string path = executable_path();
  switch (replace_executable(path, image.body)) {
    case ReplacementOutcome::unchanged: tell_failure(context, UpdateFailure::not_replaced); return;
    case ReplacementOutcome::not_restored:
      tell_failure(context, UpdateFailure::not_restored);
      return;
    case ReplacementOutcome::replaced: break;
  }
  context.asker.tell("软件更新成功，即将运行新版本！", "更新完成", 0);
  start_new_version(context, path);
}

}  // namespace

void start_new_version(const UpdateContext& context, const std::string& path) {
  constexpr int kShownNormally = 2;
  // Quoted: a path with blanks must not start another program.
  if (rt::run("\"" + path + "\"", false, kShownNormally)) {
    if (context.quit) context.quit();
    return;
  }
  std::string text = "新版本已安装，但无法启动：程序 " + path + " 无法运行，请手动运行";
  context.asker.tell(text, "更新完成", RT_MB_ICONWARNING);
}

std::string banner_page_url() { return server_url("/corvel/zuzedavud/bannerkd.htm"); }
std::string release_url() { return server_url("/corvel/zuzedavud/slipjet.exe"); }

BannerVersion read_banner(std::string_view page) {
  BannerVersion banner;
  if (page.empty()) return banner;
  banner.latest = rt::text_between(page, "最新版本：", "<");
  banner.note = rt::text_between(page, "新版", "|");
  banner.state = banner.latest == kVersion ? UpdateState::current
                 : banner.latest.empty()   ? UpdateState::silent
                                           : UpdateState::offered;
  return banner;
}

// The page is not signed: its note is shown as the server's words, never
// as the program's (and it never chooses what is installed: the signed
// manifest does).
std::string update_prompt(std::string_view latest, std::string_view note) {
  std::string prompt = std::string("当前版本：") + kVersion + "\r\n最新版本：" +
                       std::string(latest) + "\r\n点击确定后立即开始更新！";
  if (!note.empty()) prompt += "\r\n\r\n服务器提示：" + std::string(note);
  return prompt;
}

bool check_for_update(const UpdateContext& context) {
  // A replacement that never finished leaves its temporary file behind.
  std::string temporary = download_path(executable_path());
  if (rt::file_exists(temporary)) rt::delete_file(temporary);

  BannerVersion banner = read_banner(context.banner_page);
  switch (banner.state) {
    case UpdateState::no_page: context.view.set_status("网络访问失败，无法检测新版本"); return false;
    case UpdateState::current:
      context.view.set_status("已经是最新版本");
      remove_leftover();
      return false;
    case UpdateState::silent: return false;
    case UpdateState::offered: return true;
  }
  return false;
}

void offer_update(const UpdateContext& context) {
  BannerVersion banner = read_banner(context.banner_page);
  if (banner.state != UpdateState::offered) return;
  std::string prompt = update_prompt(banner.latest, banner.note);
  if (!context.asker.ok(prompt, "软件需要更新", 0)) return;
  self_update(context);
}

}  // namespace app

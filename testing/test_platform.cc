// Recording stand-ins for tests.
#include "testing/test_platform.h"

#include <unicode/utf8.h>

#include <cstdio>

namespace vdl::testkit {

void FakeFinder::select(const std::vector<std::string>& paths) {
  std::vector<FileURL> urls;
  for (const auto& p : paths) urls.push_back(FileURL::fileURLWithPath(p));
  select(urls);
}

void FakeFinder::select(const std::vector<FileURL>& urls) {
  auto items = std::make_shared<SelectedItemList>();
  for (const auto& url : urls) items->addFile(url.path());
  selection = std::move(items);
}

double FakeMenuFont::width(std::string_view text) {
  if (throws) throw std::bad_alloc();
  if (text == "\u2500") return dividerWidth;
  double w = 0;
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  auto n = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < n;) {
    UChar32 c = 0;
    U8_NEXT(s, i, n, c);
    w += unit;
  }
  return w;
}

void ScriptedWorkspace::queue(CompletionHandler completion) {
  std::optional<Error> outcome;
  if (!outcomes.empty()) {
    outcome = outcomes.front();
    outcomes.pop_front();
  }
  pending_.emplace_back(std::move(completion), outcome);
}

void ScriptedWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                                 const OpenConfiguration& configuration,
                                 CompletionHandler completion) {
  openings.push_back({urls, application, configuration});
  queue(std::move(completion));
}

void ScriptedWorkspace::openURL(const std::string& url, const OpenConfiguration& configuration,
                                CompletionHandler completion) {
  openings.push_back({{url}, std::nullopt, configuration});
  queue(std::move(completion));
}

void ScriptedWorkspace::runCompletions() {
  while (!pending_.empty()) {
    auto [completion, outcome] = std::move(pending_.front());
    pending_.pop_front();
    completion(outcome);
  }
}

std::string SequentialUUIDs::newUUIDString() {
  char text[40];
  std::snprintf(text, sizeof text, "0000ABCD-0000-4000-8000-%012X", next++);
  return text;
}

TestPlatform::TestPlatform(std::string bundleDir)
    : system({FileURL::fileURLWithPath(bundleDir, true), std::nullopt}),
      platform(system.platform(finder, font,
                               {.files = &files,
                                .users = &users,
                                .workspace = &workspace,
                                .clock = &clock,
                                .uuids = &uuids,
                                .log = &log})) {}

}  // namespace vdl::testkit

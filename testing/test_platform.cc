// Recording stand-ins for tests.
#include "testing/test_platform.h"

#include <unicode/utf8.h>

#include <cstdio>

namespace vdl::testing {

void FakeFinder::select(const std::vector<std::string>& paths) {
  std::vector<FileURL> urls;
  for (const auto& p : paths) urls.push_back(FileURL::fileURLWithPath(p));
  selection = urls;
}

double FakeMenuFont::width(std::string_view text) {
  if (throws) throw std::bad_alloc();
  measured.emplace_back(text);
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

void RecordingWorkspace::queue(CompletionHandler completion) {
  std::optional<Error> outcome;
  if (!outcomes.empty()) {
    outcome = outcomes.front();
    outcomes.pop_front();
  }
  pending_.emplace_back(std::move(completion), outcome);
}

void RecordingWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                                  const OpenConfiguration& configuration,
                                  CompletionHandler completion) {
  openings.push_back({urls, application, configuration});
  queue(std::move(completion));
}

void RecordingWorkspace::openURL(const std::string& url, const OpenConfiguration& configuration,
                                 CompletionHandler completion) {
  openings.push_back({{url}, std::nullopt, configuration});
  queue(std::move(completion));
}

void RecordingWorkspace::runCompletions() {
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
    : bundle(files, FileURL::fileURLWithPath(bundleDir, true)), platform{users,  files, bundle,
                                                                         finder, font,  workspace,
                                                                         clock,  uuids, log} {}

}  // namespace vdl::testing

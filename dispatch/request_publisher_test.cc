// Publishing while another thread keeps swapping the requests folder for a
// symbolic link to a folder outside: no request may ever land outside.
#include "dispatch/request_publisher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "testing/test_platform.h"

namespace vdl {
namespace {

TEST(RequestPublisher, ASwappedFolderNeverRedirectsARequest) {
  testkit::TempDir tmp;
  const FileURL shared = FileURL::fileURLWithPath(tmp / "shared", true);
  const std::string requests = tmp / "shared/requests";
  const std::string outside = tmp / "outside";
  std::filesystem::create_directories(requests);
  std::filesystem::create_directories(outside);
  std::filesystem::create_directory_symlink(outside, tmp / "shared/decoy");

  std::atomic<bool> stop{false};
  std::thread swapper([&] {
    // Exchanges the two names atomically, so the folder is either real or a link.
    while (!stop) {
      ::renameat2(AT_FDCWD, requests.c_str(), AT_FDCWD, (tmp / "shared/decoy").c_str(),
                  RENAME_EXCHANGE);
    }
  });
  testkit::TestPlatform t(tmp / "bundle");
  FileSystem& files = t.files;
  // At least 2,000 attempts, and on until some got through, so that both
  // sides of the race are exercised however the threads are scheduled.
  int published = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (int i = 0; i < 2000 || (published == 0 && std::chrono::steady_clock::now() < deadline);
       ++i) {
    std::string id = "0f8fad5b-d9cb-469f-a165-" + std::to_string(100000000000 + i);
    if (createRequestsFolder(files, shared) &&
        publishRequest(files, requestsFolder(shared), id, "{}")) {
      ++published;
    }
  }
  stop = true;
  swapper.join();

  std::size_t strays = 0;
  for (auto& e : std::filesystem::directory_iterator(outside)) {
    ADD_FAILURE() << "created outside the shared folder: " << e.path();
    ++strays;
  }
  EXPECT_EQ(strays, 0u);
  EXPECT_GT(published, 0) << "the race never let a request through";
}

}  // namespace
}  // namespace vdl

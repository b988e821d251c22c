// What the benchmarks share: a platform on the real disk with stubbed
// workspace and log, a folder of real files, and a large generated manifest.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/folder_bundle.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/system_services.h"
#include "platform/platform.h"

namespace vdl::bench {

class FixedFinder final : public FinderController {
 public:
  std::vector<FileURL> selection;
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  std::optional<std::vector<FileURL>> selectedItemURLs() override { return selection; }
};

class CellFont final : public MenuFont {
 public:
  double width(std::string_view text) override { return static_cast<double>(text.size()); }
};

// Opens nothing and never completes: the benchmarks measure the extension.
class StubWorkspace final : public Workspace {
 public:
  void openURLs(const std::vector<std::string>&, const FileURL&, const OpenConfiguration&,
                CompletionHandler) override {}
  void openURL(const std::string&, const OpenConfiguration&, CompletionHandler) override {}
};

class NullLog final : public Log {
 public:
  void write(std::string_view) override {}
};

// A home, a bundle and a files folder below one temporary folder.
class BenchWorld {
 public:
  BenchWorld();
  ~BenchWorld();

  // The first `n` of the sample files (mixed video extensions), created on demand.
  std::vector<FileURL> files(std::size_t n);
  // Writes `text` as the shared folder's menu.json.
  void writeMenu(const std::string& text);
  std::string sharedFolder() const;
  std::string root() const { return root_; }
  Platform& platform() { return platform_; }
  FixedFinder& finder() { return finder_; }

 private:
  std::string root_;
  std::vector<FileURL> files_;
  linux_platform::PosixFileSystem disk_;
  std::unique_ptr<UserDatabase> ownedUsers_;
  linux_platform::FolderBundle bundle_;
  FixedFinder finder_;
  CellFont font_;
  StubWorkspace workspace_;
  linux_platform::RealtimeClock clock_;
  linux_platform::RandomUUIDSource uuids_;
  NullLog log_;
  Platform platform_;
};

// The bundle's fallback manifest, as shipped.
std::string fallbackManifest();
// 1,000 extensions (the sample files' among them) x 50 targets, popular lists of 10.
std::string largeManifest();

}  // namespace vdl::bench

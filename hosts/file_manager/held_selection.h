// The selection of the call at hand, and none between calls: a file manager
// gives no "current selection" when an item is activated, so each menu
// request and each choice brings its own files.
#pragma once

#include <set>
#include <utility>

#include "platform/finder_controller.h"

namespace vdl::file_manager {

class HeldSelection final : public FinderController {
 public:
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  SelectedItems selectedItemURLs() override { return files_; }

  // Runs `call` with `files` as the selection, and returns what it returns.
  template <class Call>
  auto during(SelectedItems files, Call&& call) {
    files_ = std::move(files);
    Release release{files_};
    return std::forward<Call>(call)();
  }

 private:
  struct Release {
    SelectedItems& files;
    ~Release() { files = nullptr; }
  };
  SelectedItems files_;
};

}  // namespace vdl::file_manager

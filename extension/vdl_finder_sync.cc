// The extension object: how the subsystems meet on a menu request and on a
// menu action.
#include "extension/vdl_finder_sync.h"

#include "dispatch/host_launch.h"
#include "dispatch/request_document.h"
#include "dispatch/request_publisher.h"
#include "extension/shared_folder.h"
#include "menu/choice.h"
#include "menu/menu_builder.h"
#include "menu/offer.h"
#include "menu/selection.h"
#include "menu/tag_numbering.h"
#include "text/unicode_text.h"

namespace vdl {

VDLFinderSync::VDLFinderSync(Platform& platform)
    : platform_(platform),
      folder(sharedFolderURL(platform.users, hostBundleIdentifier())),
      manifest(folder) {
  platform_.finder.setDirectoryURLs(
      {FileURL::fileURLWithPath("/", true), FileURL::fileURLWithPath("/Volumes", true)});
}

ManifestSnapshot VDLFinderSync::loadManifest() {
  return manifest.load(platform_.files, platform_.bundle);
}

SelectedFiles VDLFinderSync::selectedFiles(KnownTypes known) {
  return vdl::selectedFiles(platform_.finder, platform_.files, known);
}

std::optional<Menu> VDLFinderSync::menu(std::uint64_t kind) {
  // Nothing may reach the host: a menu that can't be finished is no menu.
  try {
    return menuFor(kind);
  } catch (...) {
    return std::nullopt;
  }
}

void VDLFinderSync::choose(const MenuItem& item) {
  publishChoice(item);
}

std::optional<std::string> VDLFinderSync::publishChoice(const MenuItem& item) {
  std::optional<std::string> published;
  try {
    chooseItem(item, published);
  } catch (const std::exception& e) {
    logFailure(published.has_value(), e.what());
  } catch (...) {
    logFailure(published.has_value(), "unknown error");
  }
  return published;
}

std::optional<Menu> VDLFinderSync::menuFor(std::uint64_t kind) {
  if (kind != kContextualMenuForItems) return std::nullopt;
  auto current = loadManifest();
  if (!current) return std::nullopt;
  if (!current->manifest.enabled.value_or(true)) return std::nullopt;
  Offer offer = choices(selectedFiles(KnownTypes::taken), *current);
  if (offer.all.empty() && !offer.compress && !offer.crop && !offer.trim) return std::nullopt;
  auto icon = platform_.bundle.imageNamed("MenuIcon");
  return buildMenu(current->manifest.labels, offer, icon, platform_.menuFont);
}

void VDLFinderSync::chooseItem(const MenuItem& item, std::optional<std::string>& published) {
  auto current = loadManifest();
  if (!current) return;
  // What the file manager knew when it built the menu may be stale by the
  // click: the disk answers for every file a request will name.
  auto selection = selectedFiles(KnownTypes::ignored);
  if (selection.empty()) return;
  auto choice = decodeTag(item.tag, choices(selection, *current));
  if (!choice) return;

  std::string id = text::lowercased(platform_.uuids.newUUIDString());
  double createdAt = platform_.clock.secondsSince1970();

  if (auto made = createRequestsFolder(platform_.files, folder); !made) {
    return logWriteFailure(made.error());
  }
  auto document = requestDocument(id, createdAt, *choice, selection);
  if (!document) return logWriteFailure(document.error());
  if (auto written = publishRequest(platform_.files, requestsFolder(folder), id, *document);
      !written) {
    return logWriteFailure(written.error());
  }
  published = id;
  openHostApp(id);
}

void VDLFinderSync::openHostApp(const std::string& requestID) {
  vdl::openHostApp(requestID, platform_.bundle, platform_.workspace, platform_.log);
}

void VDLFinderSync::logFailure(bool published, const char* what) noexcept {
  try {
    if (published) {
      platform_.log.write("Vandrel: couldn't open the background worker: " + text::printable(what));
    } else {
      logWriteFailure(Error{what});
    }
  } catch (...) {
    // Not even a log line can be made: stay silent rather than reach the host.
  }
}

void VDLFinderSync::logWriteFailure(const Error& error) {
  // One line of printable text, whatever the description holds.
  platform_.log.write("Vandrel: couldn't write the request: " + text::printable(error.description));
}

}  // namespace vdl

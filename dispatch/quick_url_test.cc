#include "dispatch/quick_url.h"

#include <gtest/gtest.h>

namespace vdl {
namespace {

TEST(QuickURL, CarriesARequestIDAndNothingElse) {
  const std::string id = "0f8fad5b-d9cb-469f-a165-70867728950e";
  EXPECT_EQ(quickURL(id), "vandrel://quick?id=" + id);
  EXPECT_EQ(requestIDFromQuickURL(quickURL(id)), id);
  for (std::string url : {"vandrel://quick?id=" + std::string(36, 'A'),
                          "vandrel://quick?id=" + id + "&x=1", "vandrel://quick?id=../" + id,
                          "vandrel://other?id=" + id, std::string("vandrel://quick?id="), id}) {
    EXPECT_FALSE(requestIDFromQuickURL(url)) << url;
  }
  EXPECT_EQ(hostApplicationURL(FileURL::fileURLWithPath("/A/V.app/Contents/PlugIns/F.appex", true))
                .path(),
            "/A/V.app");
}

}  // namespace
}  // namespace vdl

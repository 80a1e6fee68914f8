#include <gtest/gtest.h>

#include "app/Dirs.h"

using namespace vantrel;

TEST(ModuleDir, BesideTheProgramThenItsInstallTreeThenTheConfiguredPrefix) {
  // An unpacked package: /tmp/x/usr/bin/vantrel with /tmp/x/usr/share/vantrel/res.
  EXPECT_EQ(moduleDirCandidates("/tmp/x/usr/bin", "/usr/share/vantrel"),
            (std::vector<std::string>{"/tmp/x/usr/bin/", "/tmp/x/usr/share/vantrel/",
                                      "/usr/share/vantrel/"}));
  EXPECT_EQ(moduleDirCandidates("/opt/v/bin/", "/opt/v/share/vantrel/")[1],
            "/opt/v/share/vantrel/");
}

TEST(ModuleDir, TheTestsFindTheBuildTreesResources) {
  // Test programs sit in build/tests, without res/ beside them.
  EXPECT_EQ(GetModuleDir(), std::string(VANTREL_BINARY_DIR) + "/");
}

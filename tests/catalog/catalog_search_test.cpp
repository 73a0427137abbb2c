#include "catalog/catalog_search.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/temp_folder.hpp"

namespace ferrolux {
namespace {

namespace fs = std::filesystem;

// The search looks at ./CableCatalog.txt, so each case runs in a folder of its own.
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : before_(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() { fs::current_path(before_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path before_;
};

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream{file};
}

enum class Found { kHere, kUserCopy, kInstalled, kPlainName };

TEST(CatalogSearch, TakesTheFirstPlaceThatHoldsACatalog) {
  struct Case {
    const char* name;
    bool here, userCopy, installed;
    bool hereIsAFolder = false;    // there, but the loader will refuse it
    bool userDataIsAFile = false;  // the user's folder cannot hold a copy
    Found expected;
  };
  const Case cases[] = {
      {"none anywhere: the plain name, for [53]", false, false, false, false, false, Found::kPlainName},
      {"only the installed one", false, false, true, false, false, Found::kInstalled},
      {"the user's copy before the installed one", false, true, true, false, false, Found::kUserCopy},
      {"the working folder before everything", true, true, true, false, false, Found::kHere},
      {"one here that cannot be read is still taken", true, true, true, true, false, Found::kHere},
      {"a user data path through a file is passed over", false, false, true, false, true, Found::kInstalled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder temp;
    const fs::path work = temp.Path() / "work", userData = temp.Path() / "data";
    const fs::path installed = temp.Path() / "prefix/share/ferrolux/CableCatalog.txt";
    const fs::path userCopy = userData / "ferrolux/CableCatalog.txt";
    fs::create_directories(work);
    if (c.here && c.hereIsAFolder) fs::create_directories(work / "CableCatalog.txt");
    else if (c.here) Touch(work / "CableCatalog.txt");
    if (c.userDataIsAFile) Touch(userData);
    if (c.userCopy) Touch(userCopy);
    if (c.installed) Touch(installed);

    InFolder inWork(work);
    const fs::path found = LocateCatalog({userData, temp.Path() / "prefix/bin/ferrolux"});
    const fs::path expected[] = {"CableCatalog.txt", userCopy, installed, "CableCatalog.txt"};
    EXPECT_EQ(found, expected[static_cast<int>(c.expected)]);
  }
}

TEST(CatalogSearch, ANamedCatalogWinsEvenWhenItIsMissing) {
  testing::TempFolder temp;
  temp.Write("CableCatalog.txt", "");
  InFolder inTemp(temp.Path());
  EXPECT_EQ(ChooseCatalog(fs::path("club.txt"), {temp.Path(), {}}), fs::path("club.txt"));
  EXPECT_EQ(ChooseCatalog(std::nullopt, {temp.Path(), {}}), fs::path("CableCatalog.txt"));
}

TEST(CatalogSearch, TheUsersFolderComesFromXdgDataHomeElseHome) {
  struct Case {
    const char* xdg;  // nullptr: not set
    const char* home;
    fs::path expected;
  };
  const Case cases[] = {
      {"/x/data", "/home/ham", "/x/data"},
      {"relative/data", "/home/ham", "/home/ham/.local/share"},  // only an absolute path counts
      {"", "/home/ham", "/home/ham/.local/share"},
      {nullptr, nullptr, ""},
  };
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
    c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    const CatalogPlaces places = PlacesOfThisProcess();
    EXPECT_EQ(places.userData, c.expected);
    EXPECT_EQ(places.executable.filename(), "test_catalog");
  }
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace ferrolux

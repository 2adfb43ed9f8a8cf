// The folder browse component over the portable platform's scripted picker.
#include <gtest/gtest.h>

#include "binding/portable/PortableEnvironment.h"
#include "components/FoldrDlg.h"

namespace bx {
namespace {

class FolderDialogTest : public ::testing::Test {
 protected:
  FolderDialogTest() {
    Env.Files().CreateDirectory("C:\\Pictures");
    Env.Files().CreateDirectory("C:\\Other");
  }
  TPortableEnvironment Env;
  TScriptedDialogs& Picker() { return Env.Dialogs(); }
};

TEST_F(FolderDialogTest, OptionsStayConsistent) {
  TFolderDialog dialog;
  EXPECT_EQ(dialog.Options(), bfFileSysDirsOnly | bfStatusText | bfShowPathInStatusArea |
                                  bfSyncCustomButton | bfAlignCustomButton | bfParentCenter);
  // Of the two centrings the one set before goes.
  dialog.SetOptions(dialog.Options() | bfScreenCenter);
  EXPECT_EQ(dialog.Options() & (bfScreenCenter | bfParentCenter), bfScreenCenter);
  dialog.SetOptions(dialog.Options() | bfParentCenter);
  EXPECT_EQ(dialog.Options() & (bfScreenCenter | bfParentCenter), bfParentCenter);
  // Without the status line there is no path in it; the path brings it back.
  dialog.SetOptions(dialog.Options() & ~bfStatusText);
  EXPECT_EQ(dialog.Options() & (bfStatusText | bfShowPathInStatusArea), 0u);
  dialog.SetOptions(dialog.Options() | bfShowPathInStatusArea);
  EXPECT_EQ(dialog.Options() & (bfStatusText | bfShowPathInStatusArea),
            bfStatusText | bfShowPathInStatusArea);
  // A computer browse starts at the network and drops the file-system options.
  dialog.SetOptions(dialog.Options() | bfFileSysAncestors | bfBrowseForComputer);
  EXPECT_EQ(dialog.RootFolder, TShellFolder::sfoNetwork);
  EXPECT_EQ(dialog.Options() & (bfFileSysDirsOnly | bfFileSysAncestors | bfBrowseForComputer),
            bfBrowseForComputer);
  // A printer browse drops the computer browse and the domain limit.
  dialog.SetOptions(dialog.Options() | bfDontGoBelowDomain | bfBrowseForPrinter);
  EXPECT_EQ(dialog.Options() & (bfDontGoBelowDomain | bfBrowseForComputer | bfBrowseForPrinter),
            bfBrowseForPrinter);
  // Both new at once: the computer browse wins.
  dialog.SetOptions(bfStatusText);
  dialog.SetOptions(bfBrowseForComputer | bfBrowseForPrinter | bfFileSysDirsOnly);
  EXPECT_EQ(dialog.Options(), bfBrowseForComputer);

  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoDesktopExpanded), -1);
  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoDesktop), 0);
  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoPrograms), 2);
  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoStartMenu), 11);
  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoDesktopDirectory), 16);
  EXPECT_EQ(SpecialFolderOf(TShellFolder::sfoPrintHood), 27);
}

TEST_F(FolderDialogTest, RunsWithStatusLineChangesAndTheChosenFolder) {
  TFolderDialog dialog;
  dialog.Text = "Pick one";
  dialog.SetDirectory("C:\\Pictures");
  std::vector<std::string> changes, shown, closed;
  dialog.OnShow = [&](TObject&) { shown.push_back(dialog.Title()); };
  dialog.OnChange = [&](TObject&) { changes.push_back(dialog.Directory()); };
  dialog.OnClose = [&](TObject&) { closed.push_back(dialog.Directory()); };
  Picker().OnBrowse = [&](TScriptedBrowseWindow& w) {
    // The first folder is selected and reported before the window shows.
    EXPECT_EQ(w.Selected, "C:\\Pictures");
    EXPECT_EQ(w.CaptionText, "Browse for Folder");
    EXPECT_EQ(w.StatusText, "C:\\Pictures");
    EXPECT_TRUE(w.StatusPathEllipsis);
    // An item without a path: OK off, status emptied, no change reported.
    w.MoveTo("");
    EXPECT_FALSE(w.OkEnabled);
    EXPECT_EQ(w.StatusText, "");
    EXPECT_EQ(dialog.Directory(), "");
    w.MoveTo("C:\\Other");
    EXPECT_TRUE(w.OkEnabled);
    EXPECT_EQ(w.StatusText, "C:\\Other");
    dialog.SetTitle("Elsewhere");
    EXPECT_EQ(dialog.Title(), "Elsewhere");
    EXPECT_TRUE(dialog.Running());
    return true;
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(shown, std::vector<std::string>{"Browse for Folder"});
  EXPECT_EQ(changes, (std::vector<std::string>{"C:\\Pictures", "C:\\Other"}));
  EXPECT_EQ(closed, std::vector<std::string>{"C:\\Other"});
  EXPECT_FALSE(dialog.Running());
  EXPECT_EQ(dialog.Directory(), "C:\\Other");
  EXPECT_EQ(dialog.DisplayName(), "Other");
  const TFolderBrowseRequest& first = Picker().BrowseRequests.at(0);
  EXPECT_EQ(first.Text, "Pick one");
  EXPECT_EQ(first.Flags, kBifReturnOnlyFsDirs | kBifStatusText);
  EXPECT_EQ(first.Root, -1);
  EXPECT_EQ(first.Placement, TBrowsePlacement::ParentCenter);
  EXPECT_EQ(first.LastResult, nullptr);

  // The next run gets the item chosen; cancelling empties Directory.
  dialog.SetOptions(dialog.Options() & ~bfParentCenter);
  dialog.Left = 7;
  Picker().OnBrowse = nullptr;
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Directory(), "");
  const TFolderBrowseRequest& second = Picker().BrowseRequests.at(1);
  EXPECT_EQ(second.Directory, "C:\\Other");
  EXPECT_NE(second.LastResult, nullptr);
  EXPECT_EQ(second.Placement, TBrowsePlacement::AtPoint);
  EXPECT_EQ(second.Left, 7);
  EXPECT_EQ(Picker().BrowseRequests.size(), 2u);
  // Used once only.
  dialog.Execute();
  EXPECT_EQ(Picker().BrowseRequests.at(2).LastResult, nullptr);

  // A folder that cannot be found: nothing selected, the tree at its top.
  dialog.SetDirectory("C:\\Missing");
  Picker().OnBrowse = [](TScriptedBrowseWindow& w) { return w.Selected.empty(); };
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Directory(), "");
}

}  // namespace
}  // namespace bx

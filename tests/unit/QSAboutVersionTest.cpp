// The about box through its control models on the portable platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "binding/portable/PortableEnvironment.h"
#include "dialogs/about/QSAboutVersion.h"
#include "dialogs/about/Utility.h"
#include "tests/unit/VersionWriters.h"

namespace bx {
namespace {

using namespace bx::test;
using TRows = std::vector<TListItem>;

class QSAboutVersion : public ::testing::Test {
 protected:
  QSAboutVersion() {
    Application().Title = "Bexora";
    Env.Modules().Program = "C:\\Windows\\control.exe";
  }
  ~QSAboutVersion() override { Application().Title.clear(); }

  void WriteModule(const std::string& name, const TVersionTable& table) {
    Env.Files().WriteFile(name, WritePeModule({{16, 1, 0x0406, WriteVersionBlock({{table}})}}));
  }

  // Opens the box as the main dialog does and looks at it while it runs.
  void Show(const std::string& file, std::vector<std::string> extra, bool english,
            const std::function<void(TFrmQSVersionAbout&)>& look) {
    Env.FormHost().OnShowModal = [&look](TForm& form) {
      look(dynamic_cast<TFrmQSVersionAbout&>(form));
    };
    ShowVersionAbout(nullptr, file, extra, english);
    EXPECT_EQ(Env.FormHost().ShowModalCount(), 1);
  }

  TPortableEnvironment Env;
};

TEST_F(QSAboutVersion, LayoutAndBothLanguages) {
  Show("", {}, false, [](TFrmQSVersionAbout& box) {
    EXPECT_EQ(box.ClientWidth(), 313);
    EXPECT_EQ(box.ClientHeight(), 325);
    EXPECT_EQ(box.FontName, "Arial");
    EXPECT_EQ(box.ListViewVersion.FormBoundsRect(), (TRect{16, 120, 16 + 281, 120 + 145}));
    EXPECT_EQ(box.BitBtnOK.FormBoundsRect(), (TRect{159, 284, 159 + 137, 284 + 25}));
    EXPECT_EQ(box.BitBtnMemory.BoundsRect(), box.BitBtnVersion.BoundsRect());
    EXPECT_TRUE(box.BitBtnOK.Default && box.BitBtnOK.Cancel);
    EXPECT_EQ(box.PanelInfo.BevelInner, TPanelBevel::bvLowered);
    EXPECT_EQ(box.PanelInfo.BorderWidth, 3);
    EXPECT_TRUE(box.LabelDescription.WordWrap);
    // Danish, shown as the right characters.
    EXPECT_EQ(box.Caption(), "Om - Bexora");
    EXPECT_EQ(box.BitBtnMemory.Caption(), "&Hukommelse");
    EXPECT_EQ(box.LabelProductTxt.Caption(), "Produkt navn");
    ASSERT_EQ(box.ListViewVersion.Columns().size(), 2u);
    EXPECT_EQ(box.ListViewVersion.Columns()[0].Caption, "Ressource");
    EXPECT_EQ(box.ListViewVersion.Columns()[1].Caption, "V\xC3\xA6rdi");
    // control.exe has no version resource here.
    EXPECT_EQ(box.LabelVersion.Caption(), "Ikke tilg\xC3\xA6ngelig");
    EXPECT_TRUE(box.BitBtnMemory.Visible());
    EXPECT_FALSE(box.BitBtnVersion.Visible());
    box.BitBtnOK.Click();
    EXPECT_EQ(box.ModalResult, mrOk);
  });
  Env.FormHost().Calls.clear();
  Show("", {}, true, [](TFrmQSVersionAbout& box) {
    EXPECT_EQ(box.Caption(), "About - Bexora");
    EXPECT_EQ(box.BitBtnMemory.Caption(), "&Memory");
    EXPECT_EQ(box.BitBtnOK.Caption(), "Ok");
    EXPECT_EQ(box.ListViewVersion.Columns()[0].Caption, "Resource");
    EXPECT_EQ(box.LabelVersion.Caption(), "Not available");
    box.BitBtnMemory.Click();
    EXPECT_EQ(box.ListViewVersion.Columns()[0].Caption, "Memory");
    EXPECT_EQ(box.ListViewVersion.Columns()[1].Alignment, TAlignment::taRightJustify);
    EXPECT_EQ(box.ListViewVersion.Items()[0].Caption, "Total physical");
  });
}

TEST_F(QSAboutVersion, VersionViewLabelsAndSortedRows) {
  WriteModule("C:\\m.dll", {u"040904E4",
                            {{u"CompanyName", u"Mobrelin"},
                             {u"FileDescription", u"Wallpapers"},
                             {u"FileVersion", u"1.2.3.21"},
                             {u"ProductName", u"Bexora"},
                             {u"LegalCopyright", u"(C) Mobrelin"},
                             {u"Comments", u""},
                             {u"Author", u"Someone"},
                             {u"", u"nameless"}}});
  TPixelBuffer icon(32, 32);
  icon.Fill(MakeColor(255, 0, 255));
  icon.SetPixel(3, 4, MakeColor(1, 2, 3));
  Env.Modules().Icons["C:\\m.dll"] = icon;
  Show("C:\\m.dll", {"=(unknown)", "Author=Written by"}, true, [](TFrmQSVersionAbout& box) {
    EXPECT_EQ(box.LabelVersion.Caption(), "1.2.3.21");
    EXPECT_EQ(box.LabelProduct.Caption(), "Bexora");
    EXPECT_EQ(box.LabelDescription.Caption(), "Wallpapers");
    EXPECT_EQ(box.ListViewVersion.Items(),
              (TRows{{"(unknown)", {"nameless"}},
                     {"Company name", {"Mobrelin"}},
                     {"Copyrights", {"(C) Mobrelin"}},
                     {"Written by", {"Someone"}}}));
    // The file's icon over the box's colour.
    EXPECT_EQ(box.ImageAppIcon.Picture().GetPixel(3, 4), MakeColor(1, 2, 3));
    EXPECT_EQ(box.ImageAppIcon.Picture().GetPixel(0, 0), box.Color());

    // Switching views twice gives the same list again.
    const TRows version = box.ListViewVersion.Items();
    box.BitBtnMemory.Click();
    EXPECT_FALSE(box.BitBtnMemory.Visible());
    EXPECT_TRUE(box.BitBtnVersion.Visible());
    EXPECT_EQ(box.LabelVersion.Caption(), "1.2.3.21");  // the labels stay
    const TRows memory = box.ListViewVersion.Items();
    box.BitBtnVersion.Click();
    EXPECT_EQ(box.ListViewVersion.Items(), version);
    box.BitBtnMemory.Click();
    EXPECT_EQ(box.ListViewVersion.Items(), memory);
  });

  // Without a line for Author, the key is its own caption.
  Env.FormHost().Calls.clear();
  Show("C:\\m.dll", {}, false, [](TFrmQSVersionAbout& box) {
    const TRows& rows = box.ListViewVersion.Items();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (TListItem{"", {"nameless"}}));
    EXPECT_EQ(rows[1], (TListItem{"Author", {"Someone"}}));
    EXPECT_EQ(rows[2], (TListItem{"Firma navn", {"Mobrelin"}}));
    EXPECT_EQ(rows[3], (TListItem{"Kopirettigheder", {"(C) Mobrelin"}}));
  });
}

TEST_F(QSAboutVersion, EachNameTakesTheValueOfItsFirstLineAndTheListIsFilledOnce) {
  // Names are compared without regard to case for the value; the label keys
  // and the caption table only by their exact names.
  WriteModule("C:\\m.dll", {u"040904E4",
                            {{u"companyname", u"first"},
                             {u"CompanyName", u"second"},
                             {u"FileVersion", u""},
                             {u"fileversion", u"2.0"},
                             {u"PRODUCTNAME", u"Name"},
                             {u"ProductName", u"Other"}}});
  Show("C:\\m.dll", {}, true, [](TFrmQSVersionAbout& box) {
    EXPECT_EQ(box.LabelVersion.Caption(), "");
    EXPECT_EQ(box.LabelProduct.Caption(), "Name");
    EXPECT_EQ(box.ListViewVersion.Items(),
              (TRows{{"Company name", {"first"}},
                     {"companyname", {"first"}},
                     {"PRODUCTNAME", {"Name"}}}));
  });

  // Many rows reach the list view at once, as one change of its rows, so
  // that its window is filled once per view.
  Env.Files().WriteFile("C:\\many.dll",
                        WritePeModule({{16, 1, 0x0406, ManyEntryVersionBlock(2000)}}));
  Env.FormHost().Calls.clear();
  Show("C:\\many.dll", {}, true, [](TFrmQSVersionAbout& box) {
    ASSERT_EQ(box.ListViewVersion.Items().size(), 2000u);
    EXPECT_EQ(box.ListViewVersion.Items()[0], (TListItem{"K0", {"v0"}}));
    EXPECT_EQ(box.ListViewVersion.Items()[1], (TListItem{"K1", {"v1"}}));
    EXPECT_EQ(box.ListViewVersion.Items()[2], (TListItem{"K10", {"v10"}}));
    box.BitBtnMemory.Click();
    int rowChanges = 0;
    std::size_t rows = box.ListViewVersion.Items().size();
    box.ListViewVersion.OnStateChanged = [&](TControl&) {
      if (box.ListViewVersion.Items().size() != rows) ++rowChanges;
      rows = box.ListViewVersion.Items().size();
    };
    box.BitBtnVersion.Click();  // emptied, then filled
    EXPECT_EQ(rowChanges, 2);
    EXPECT_EQ(rows, 2000u);
    box.ListViewVersion.OnStateChanged = nullptr;
  });
}

TEST_F(QSAboutVersion, UnreadableBlocksLeaveTheViewEmptyOnce) {
  TVersionSpec noFixed{{{u"040904E4", {{u"FileVersion", u"9"}}}}};
  noFixed.FixedInfo = false;
  Env.Files().WriteFile("C:\\bad.dll", WritePeModule({{16, 1, 0x0406, WriteVersionBlock(noFixed)}}));
  Env.Files().WriteFile("C:\\text.dll", {'h', 'i'});
  for (const char* file : {"C:\\bad.dll", "C:\\text.dll", "C:\\missing.dll"}) {
    Env.FormHost().Calls.clear();
    Show(file, {}, true, [](TFrmQSVersionAbout& box) {
      EXPECT_EQ(box.LabelVersion.Caption(), "Not available");
      EXPECT_EQ(box.LabelProduct.Caption(), "");
      EXPECT_TRUE(box.ListViewVersion.Items().empty());
    });
    EXPECT_TRUE(Env.MessageBoxes().Messages.empty()) << file;
  }
}

TEST_F(QSAboutVersion, MemoryFiguresWithTheUsersSeparator) {
  Env.MemoryStatus().Status = {17179869184ull, 2147483648ull, 999, 1000, 140737488224256ull, 0};
  Show("", {}, true, [this](TFrmQSVersionAbout& box) {
    box.BitBtnMemory.Click();
    EXPECT_EQ(box.ListViewVersion.SortType(), TSortType::stNone);
    EXPECT_EQ(box.ListViewVersion.Items(),
              (TRows{{"Total physical", {"17,179,869,184"}},
                     {"Available physical", {"2,147,483,648"}},
                     {"Total pagefile", {"999"}},
                     {"Available pagefile", {"1,000"}},
                     {"Total virtual", {"140,737,488,224,256"}},
                     {"Available virtual", {"0"}}}));
    Env.Locale().Separator = "\xC2\xA0";  // a no-break space
    box.BitBtnVersion.Click();
    box.BitBtnMemory.Click();
    EXPECT_EQ(box.ListViewVersion.Items()[1].SubItems[0], "2\xC2\xA0" "147\xC2\xA0" "483\xC2\xA0" "648");
  });
}

TEST_F(QSAboutVersion, CentredOverItsOwnerAndKeptOnTheScreen) {
  TForm owner;
  TForm box;
  box.SetClientSize(313, 325);  // 321 x 352 with the frame
  owner.SetBounds(100, 200, 400, 300);
  CenterForm(&box, &owner);
  EXPECT_EQ(box.Left(), 100 + 200 - 160);
  EXPECT_EQ(box.Top(), 200 + 150 - 176);
  owner.SetBounds(-300, 700, 100, 100);
  CenterForm(&box, &owner);
  EXPECT_EQ(box.Left(), 0);
  EXPECT_EQ(box.Top(), 768 - 352);
  CenterForm(&box, nullptr);  // the screen's centre
  EXPECT_EQ(box.Left(), 512 - 160);
  EXPECT_EQ(box.Top(), 384 - 176);
  CenterForm(nullptr, &owner);
}

// The module the 64-bit build makes (the test script builds it first), as
// the main dialog's About command shows it.
TEST_F(QSAboutVersion, BuiltModuleShowsItsOwnEntries) {
  const auto module = std::filesystem::path(BX_BUILD_DIR).parent_path() / "win64" / "Bexora.cpl";
  ASSERT_TRUE(std::filesystem::exists(module))
      << module.string() << " is missing: build the win64 preset";
  std::ifstream in(module, std::ios::binary);
  Env.Files().WriteFile("C:\\Bexora.cpl", TBytes(std::istreambuf_iterator<char>(in), {}));
  Show("C:\\Bexora.cpl", {"=(unknown)"}, true, [](TFrmQSVersionAbout& box) {
    EXPECT_EQ(box.LabelVersion.Caption(), "1.2.3.21");
    EXPECT_EQ(box.LabelProduct.Caption(), "Bexora");
    EXPECT_EQ(box.LabelDescription.Caption(), "Change windows wallpaper settings");
    std::vector<std::string> captions;
    for (const TListItem& row : box.ListViewVersion.Items()) captions.push_back(row.Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Company name", "Copyrights", "HTTP",
                                                  "Internal name", "Original filename",
                                                  "Programmers", "SMTP"}));
  });
}

}  // namespace
}  // namespace bx

#include "dialogs/about/QSAboutVersion.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <unordered_map>

#include "dialogs/about/Utility.h"
#include "platform/Platform.h"
#include "resources/QSAboutVersionLayout.h"

namespace bx {

namespace {

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The form in which SameText finds two texts equal.
std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool LessText(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

std::string NameOf(const std::string& line) { return line.substr(0, line.find('=')); }

std::string ValueOf(const std::string& line) {
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

}  // namespace

TFrmQSVersionAbout::TFrmQSVersionAbout(TObject* owner) : FOwner(owner) {
  ApplyLayout(QSAboutVersionLayout(), *this);
  ListViewVersion.CompareCaptions = [](const std::string& a, const std::string& b) {
    ILocale* locale = Platform().Locale;
    return locale ? locale->CompareStrings(a, b) : a.compare(b);
  };

  using std::bind_front;
  BitBtnMemory.OnClick = bind_front(&TFrmQSVersionAbout::BitBtnMemoryClick, this);
  BitBtnVersion.OnClick = bind_front(&TFrmQSVersionAbout::BitBtnVersionClick, this);
  BitBtnOK.OnClick = bind_front(&TFrmQSVersionAbout::BitBtnOKClick, this);
  Dispatch([this] { FormCreate(*this); });
}

TFrmQSVersionAbout::~TFrmQSVersionAbout() {
  Dispatch([this] { FormDestroy(*this); });
}

void TFrmQSVersionAbout::FormCreate(TObject&) {
  CenterForm(this, FOwner);
  FExtraCaptions.clear();
  SetDefaultTexts();
  UpdateTexts();
  IModules* modules = Platform().Modules;
  FFileName = modules ? modules->ProgramFileName() : std::string();
  BitBtnVersionClick(*this);
  ShowIcon(false);
}

void TFrmQSVersionAbout::FormDestroy(TObject&) { FExtraCaptions.clear(); }

void TFrmQSVersionAbout::SetDefaultTexts() { FTexts = DanishAboutTexts(); }

void TFrmQSVersionAbout::UpdateTexts() {
  SetCaption(FTexts[atTitle] + " - " + Application().Title);
  LabelVersionTxt.SetCaption(FTexts[atVersionLabel]);
  LabelProductTxt.SetCaption(FTexts[atProductLabel]);
  LabelDescriptionTxt.SetCaption(FTexts[atDescriptionLabel]);
  BitBtnVersion.SetCaption(FTexts[atVersionButton]);
  BitBtnMemory.SetCaption(FTexts[atMemoryButton]);
  BitBtnOK.SetCaption(FTexts[atOkButton]);
}

void TFrmQSVersionAbout::AddExtraCaption(const std::string& line) {
  FExtraCaptions.insert(
      std::upper_bound(FExtraCaptions.begin(), FExtraCaptions.end(), line, LessText), line);
}

std::string TFrmQSVersionAbout::ExtraCaption(const std::string& name) const {
  for (const std::string& line : FExtraCaptions)
    if (SameText(NameOf(line), name)) return ValueOf(line);
  return {};
}

void TFrmQSVersionAbout::ShowIcon(bool fromFile) {
  IModules* modules = Platform().Modules;
  if (!modules) return;
  TPixelBuffer icon;
  const std::uint32_t background = Color();
  // A file without an icon leaves the picture as it was.
  if (fromFile ? modules->ExtractIcon(FFileName, background, icon)
               : modules->ApplicationIcon(background, icon)) {
    ImageAppIcon.Picture() = std::move(icon);
    ImageAppIcon.Invalidate();
  }
}

void TFrmQSVersionAbout::BitBtnVersionClick(TObject&) {
  BitBtnMemory.SetVisible(true);
  if (BitBtnVersion.Focused()) BitBtnMemory.SetFocus();
  BitBtnVersion.SetVisible(false);
  LabelVersion.SetCaption(FTexts[atNotAvailable]);
  LabelProduct.SetCaption("");
  LabelDescription.SetCaption("");

  ListViewVersion.Clear();
  ListViewVersion.SetSortType(TSortType::stText);
  ListViewVersion.SetViewStyle(TViewStyle::vsReport);
  ListViewVersion.SetReadOnly(true);
  ListViewVersion.SetColumnClick(false);
  ListViewVersion.SetColumns({{FTexts[atResourceColumn], TAlignment::taLeftJustify},
                              {FTexts[atValueColumn], TAlignment::taLeftJustify}});

  // A block that cannot be read leaves the view empty, "Not available",
  // rather than trying again.
  std::vector<std::string> lines;
  try {
    lines = GetVersionStrings(FFileName);
  } catch (const std::exception&) {
    lines.clear();
  }
  ShowIcon(true);

  // Each name's value is that of the first line of the name, without regard
  // to case; looked up once, so that a block of many lines costs no more
  // than reading it.
  std::unordered_map<std::string, std::string> firstValues;
  for (const std::string& line : lines)
    firstValues.try_emplace(LowerCase(NameOf(line)), ValueOf(line));
  std::vector<TListItem> rows;
  for (const std::string& line : lines) {
    const std::string name = NameOf(line);
    const std::string& value = firstValues[LowerCase(name)];
    if (name == "FileDescription") {
      LabelDescription.SetCaption(value);
    } else if (name == "ProductName") {
      LabelProduct.SetCaption(value);
    } else if (name == "FileVersion") {
      LabelVersion.SetCaption(value);
    } else if (!value.empty()) {
      std::string caption;
      if (const TAboutText role = VersionKeyText(name); role != atTextCount)
        caption = FTexts[role];
      else
        caption = ExtraCaption(name);
      if (caption.empty()) caption = name;
      rows.push_back({std::move(caption), {value}});
    }
  }
  ListViewVersion.SetItems(std::move(rows));
}

void TFrmQSVersionAbout::BitBtnMemoryClick(TObject&) {
  BitBtnVersion.SetVisible(true);
  if (BitBtnMemory.Focused()) BitBtnVersion.SetFocus();
  BitBtnMemory.SetVisible(false);

  ListViewVersion.Clear();
  ListViewVersion.SetSortType(TSortType::stNone);
  ListViewVersion.SetViewStyle(TViewStyle::vsReport);
  ListViewVersion.SetReadOnly(true);
  ListViewVersion.SetColumnClick(false);
  ListViewVersion.SetColumns({{FTexts[atMemoryColumn], TAlignment::taLeftJustify},
                              {FTexts[atBytesColumn], TAlignment::taRightJustify}});

  IMemoryStatus* memory = Platform().MemoryStatus;
  const TMemoryStatus status = memory ? memory->GetMemoryStatus() : TMemoryStatus{};
  ILocale* locale = Platform().Locale;
  const std::string separator = locale ? locale->ThousandSeparator() : ",";
  const std::pair<TAboutText, std::uint64_t> rows[] = {
      {atTotalPhysical, status.TotalPhys},       {atAvailablePhysical, status.AvailPhys},
      {atTotalPageFile, status.TotalPageFile},   {atAvailablePageFile, status.AvailPageFile},
      {atTotalVirtual, status.TotalVirtual},     {atAvailableVirtual, status.AvailVirtual}};
  std::vector<TListItem> items;
  for (const auto& [role, bytes] : rows)
    items.push_back({FTexts[role], {FormatWholeNumber(bytes, separator)}});
  ListViewVersion.SetItems(std::move(items));
}

void TFrmQSVersionAbout::BitBtnOKClick(TObject&) { ModalResult = mrOk; }

void ShowVersionAbout(TObject* owner, const std::string& fileName,
                      const std::vector<std::string>& extraCaptions, bool english) {
  // The form goes when this returns, also after an error.
  auto form = std::make_unique<TFrmQSVersionAbout>(owner);
  TModalRun run(*form);
  if (english) {
    form->FTexts = EnglishAboutTexts();
    form->UpdateTexts();
  }
  form->FExtraCaptions.clear();
  for (const std::string& line : extraCaptions) form->AddExtraCaption(line);
  if (!fileName.empty()) form->FFileName = fileName;
  form->BitBtnVersionClick(*form);
  run.ShowModal();
}

}  // namespace bx

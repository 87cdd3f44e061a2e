// The main window: its form description, the recent files, the menu commands and the help texts.
#include "app/Packer.h"

#include "app/PackerTexts.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "platform/File.h"
#include "platform/vcl/Registry.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(vcl::TComponent* owner) : vcl::TForm(owner, "Form1") {
  Form1 = this;
  setCaption(texts::kCaption);
  setBounds({192, 114, 469, 379});

  Label2 = new vcl::TLabel(this, "Label2", {3, 0, 33, 13}, std::string(11, ' '));
  Label3 = new vcl::TLabel(this, "Label3", {3, 16, 39, 13}, std::string(13, ' '));
  Label1a = new vcl::TLabel(this, "Label1a", {24, 16, 3, 13});
  Memo1 = new vcl::TMemo(this, "Memo1", {8, 32, 449, 289}, "Memo1");
  Memo1->setBorderStyle(vcl::bsNone);
  Memo1->setReadOnly(true);
  Memo1->setScrollBars(vcl::ssBoth);
  Memo1->setTabOrder(0);

  MainMenu1 = new vcl::TMainMenu(this, "MainMenu1");
  File1 = new vcl::TMenuItem(MainMenu1->items(), "File1", "&File");
  Open1 = new vcl::TMenuItem(File1, "Open1", "&Open");
  mru1 = new vcl::TMenuItem(File1, "mru1");
  mru2 = new vcl::TMenuItem(File1, "mru2");
  mru3 = new vcl::TMenuItem(File1, "mru3");
  mru4 = new vcl::TMenuItem(File1, "mru4");
  Exit1 = new vcl::TMenuItem(File1, "Exit1", "E&xit");
  Help1 = new vcl::TMenuItem(MainMenu1->items(), "Help1", "&Help");
  WhatisSelfextracting1 = new vcl::TMenuItem(Help1, "WhatisSelfextracting1", "What is 'Self extracting'");
  About1 = new vcl::TMenuItem(Help1, "About1", "About");
  setMenu(MainMenu1);

  OpenDialog1 = new vcl::TOpenDialog(this, "OpenDialog1");
  OpenDialog1->setDefaultExt(".paf");
  OpenDialog1->setFilter(texts::kOpenFilter);
  OpenDialog1->setOptions(vcl::ofHideReadOnly | vcl::ofFileMustExist | vcl::ofEnableSizing);
  OpenDialog1->setTitle(texts::kOpenTitle);

  Timer1 = new vcl::TTimer(this, "Timer1");
  Timer1->setEnabled(false);

  OnCreate = [this] { FormCreate(); };
  OnResize = [this] { FormResize(); };
  Open1->OnClick = [this] { Open1Click(); };
  mru1->OnClick = [this] { mru1Click(); };
  mru2->OnClick = [this] { mru2Click(); };
  mru3->OnClick = [this] { mru3Click(); };
  mru4->OnClick = [this] { mru4Click(); };
  Exit1->OnClick = [this] { Exit1Click(); };
  WhatisSelfextracting1->OnClick = [this] { WhatisSelfextracting1Click(); };
  About1->OnClick = [this] { About1Click(); };
  Timer1->OnTimer = [this] { Timer1Timer(); };
}

TForm1::~TForm1() {
  deleteLists();
  delete database;
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::deleteLists() {
  delete missingList;
  delete outsideList;
  delete foundList;
  missingList = outsideList = foundList = nullptr;
}

// Each item shows the full path of one recent file that still exists; the others stay hidden
// and keep their places.
void TForm1::FormCreate() {
  vcl::TRegistry registry;
  registry.openKey(texts::kRecentFilesKey, false);
  vcl::TMenuItem* const items[] = {mru1, mru2, mru3, mru4};
  for (int k = 0; k < 4; ++k) {
    const std::string path = registry.readString("File" + std::to_string(k + 1));
    vcl::TMenuItem* item = items[k];
    item->setVisible(false);
    item->setEnabled(false);
    if (!path.empty() && platform::fileExists(path)) {
      item->setCaption(path);
      item->setVisible(true);
      item->setEnabled(true);
    }
  }
  Memo1->setText(texts::kIntroduction);
}

void TForm1::FormResize() { Memo1->setBounds({Memo1->left(), Memo1->top(), width() - 20, height() - 90}); }

std::string TForm1::stripAccelerator(vcl::TMenuItem* item) {
  std::string caption = item->caption();
  const std::string::size_type amp = caption.rfind('&');
  if (amp != std::string::npos) caption.erase(amp, 1);
  item->setCaption(caption);
  return caption;
}

void TForm1::startRunFrom(vcl::TMenuItem* item) {
  databasePath = stripAccelerator(item);
  packDatabase();
}

void TForm1::mru1Click() { startRunFrom(mru1); }
void TForm1::mru2Click() { startRunFrom(mru2); }
void TForm1::mru3Click() { startRunFrom(mru3); }
void TForm1::mru4Click() { startRunFrom(mru4); }

// The dialog opens in the folder of the first recent file: its caption without the
// accelerator marker the menu put before the drive letter, up to its last separator.
void TForm1::Open1Click() {
  const std::string caption = mru1->caption();
  const std::string::size_type last = caption.find_last_of(":\\/");
  const std::size_t p = last == std::string::npos ? 0 : last + 1;  // counted from 1
  OpenDialog1->setInitialDir(p >= 1 && caption.size() > 1 ? caption.substr(1, p - 1) : std::string());
  if (!OpenDialog1->execute()) return;
  databasePath = OpenDialog1->fileName();
  packDatabase();
}

void TForm1::Exit1Click() { close(); }

void TForm1::WhatisSelfextracting1Click() {
  Memo1->setText("");
  vcl::MessageBox(texts::kSelfExtracting, "", vcl::MB_OK);
}

void TForm1::About1Click() { vcl::MessageBox(texts::kAbout, texts::kAboutCaption, vcl::MB_OK); }

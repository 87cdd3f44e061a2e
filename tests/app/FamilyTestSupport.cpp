#include "tests/app/FamilyTestSupport.h"

std::vector<std::string> pathsOf(const FileList* list) {
  std::vector<std::string> paths;
  for (const FileList* e = list; e != nullptr; e = e->next) paths.emplace_back(e->path.cStr());
  return paths;
}

FamilyTest::FamilyTest() : form_(new TForm1(nullptr)) {
  prefix_.addDrive('C');
  prefix_.addDrive('D');
  prefix_.writeFile("C:\\Family\\readme.txt", "family");
}

FamilyTest::~FamilyTest() {
  FileList::setDatabase(nullptr);
  delete form_;
}

void FamilyTest::addFile(const std::string& windowsPath, const std::string& bytes) { prefix_.writeFile(windowsPath, bytes); }

void FamilyTest::openFamily(const PafImage& image) {
  image.writeTo(prefix_.host("C:\\Family\\tree.paf"));
  form_->databasePath = "C:\\Family\\tree.paf";
  form_->databaseFolder = "C:\\Family\\";
  form_->normalizePaths = true;
  form_->database = new CPAFDatabase();
  ASSERT_EQ(form_->database->Open(u"C:\\Family\\tree.paf", false), 1);
}

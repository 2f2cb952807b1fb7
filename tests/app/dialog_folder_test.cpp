// The file dialogs' start folder: the program's folder while writable, else the documents folder.
#include <gtest/gtest.h>

#include "widgets/qt_dialog_folder.h"

namespace zelor {
namespace {

TEST(DialogFolder, TheProgramFolderWhileWritableElseTheDocumentsFolder) {
  struct Case {
    const char* program;
    bool writable;
    const char* documents;
    const char* expected;
  };
  const Case cases[] = {
      {"/home/u/zelor/build", true, "/home/u/Documents", "/home/u/zelor/build"},  // run where built
      {"/usr/bin", false, "/home/u/Documents", "/home/u/Documents"},              // installed
      {"/usr/bin", false, "", "/usr/bin"},  // no documents folder known
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseDialogFolder(c.program, c.writable, c.documents), QString(c.expected)) << c.program;
  }
}

}  // namespace
}  // namespace zelor

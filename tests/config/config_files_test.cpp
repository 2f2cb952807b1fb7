// The .bin file rules: the name a save writes and the size a load takes.
#include <gtest/gtest.h>

#include "config/config_files.h"
#include "config/config_texts.h"
#include "config/image_layout.h"

namespace zelor {
namespace {

TEST(ConfigFiles, TheChosenNamesExtensionIsReplacedByBin) {
  const struct {
    const char* chosen;
    const char* written;
  } cases[] = {
      {"config.old", "config.bin"},
      {"config", "config.bin"},
      {"my.bin.bin", "my.bin.bin"},
      {"/home/a.b/config", "/home/a.b/config.bin"},  // a dot in a folder is no extension
      {"C:\\conf.d\\panel", "C:\\conf.d\\panel.bin"},
      {"/tmp/panel.", "/tmp/panel.bin"},
      {"/tmp/.hidden", "/tmp/.bin"},
  };
  for (const auto& c : cases) EXPECT_EQ(BinFileName(c.chosen), c.written) << c.chosen;
}

TEST(ConfigFiles, OnlyAFileOfTheImagesSizeIsTaken) {
  EXPECT_FALSE(RefuseImageFile(ImageSize).has_value());
  for (unsigned long long size : {0ULL, 45951ULL, 45953ULL, 13056ULL, 1ULL << 33}) {
    const auto refusal = RefuseImageFile(size);
    ASSERT_TRUE(refusal.has_value()) << size;
    EXPECT_EQ(*refusal, WrongFileSizeText(size));
    EXPECT_NE(refusal->find(std::to_string(size)), std::string::npos);
  }
  EXPECT_EQ(WrongFileSizeText(45951),
            "   : ОШИБКА -> размер файла 45951 байт, а файл конфигурации - 45952 байт; конфигурация не изменена.");
}

TEST(ConfigFiles, FileAndCrcLinesInTheToolsStyle) {
  EXPECT_EQ(FileErrorText("Permission denied"), "   : ERROR - Permission denied.");
  EXPECT_EQ(ReadCrcMismatchText(), "   : чтение конфигурации пульта...  ошибка CRC.");
}

}  // namespace
}  // namespace zelor

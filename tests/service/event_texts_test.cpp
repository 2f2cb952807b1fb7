// The shared event texts: state tables, source classes, the fire-distance rule, time and date.
#include <gtest/gtest.h>

#include <map>

#include "service/event_texts.h"

namespace zelor::test {
namespace {

std::size_t Characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// The panel's table, row by row; codes missing here must read "??".
const std::map<int, std::pair<std::string, std::string>>& StateTable() {
  static const std::map<int, std::pair<std::string, std::string>> table = [] {
    std::map<int, std::pair<std::string, std::string>> t;
    const std::map<int, std::string> same = {
        {0, "ПОЖАР"}, {1, "ОХР. ТРЕВОГА"}, {2, "ВНИМАНИЕ"}, {3, "НЕИСПРАВНОСТЬ"}, {4, "НОРМА"},
        {5, "СБРОС ПОЖАРА"}, {6, "ПЕРЕЗАПРОС"}, {7, "СНЯТ"}, {8, "ВЗЯТ"}, {9, "НЕВЗЯТИЕ"},
        {10, "ЗАДЕРЖКА ВЗЯТИЯ"}, {11, "ЗАДЕРЖКА ТРЕВОГИ"}, {12, "ОТКЛ."}, {15, "ВКЛ."},
        {16, "НЕИСПР. ИП1"}, {17, "НЕИСПР. АКБ"}, {18, "ИП1 НОРМА"}, {19, "АКБ НОРМА"},
        {20, "КОРПУС: ВЗЛОМ"}, {21, "КОРПУС: НОРМА"}, {22, "ЗАДЕРЖКА ПУСКА"}, {23, "ПУСК"},
        {24, "КОНЕЦ ПУСКА"}, {25, "НЕИСПР. ППУ"}, {26, "НЕИСПР. ИП"}, {27, "ИП НОРМА"},
        {28, "АВТОМАТИКА ВКЛ."}, {29, "АВТОМАТИКА ОТКЛ."}, {32, "ВХ.ВНЕШ.: НЕИСПР."},
        {33, "ВХ.ВНЕШ.: НОРМА"}, {34, "ОСТАНОВ ПУСКА"}, {35, "КОНЕЦ ПУСКА-НЕУД."}, {36, "СБРОС"},
        {37, "НЕИСПР. ИП2"}, {38, "ИП2 НОРМА"}, {84, "ВКЛЮЧЕНИЕ"}, {85, "КОРР. ВРЕМЕНИ"},
        {86, "НЕИСПР. ИП"}, {87, "СБРОС АРХИВА"}, {88, "ВСКРЫТИЕ"}, {89, "ИП НОРМА"},
        {254, ""}};
    for (const auto& [code, word] : same) t[code] = {word, word};
    t[13] = {"?", "-?"};
    t[14] = {"?", "--?"};
    t[255] = {"", "ЗАПИСЬ ПОВРЕЖДЕНА"};
    return t;
  }();
  return table;
}

std::string Padded17(const std::string& word) { return word + std::string(17 - Characters(word), ' '); }

TEST(EventTexts, EveryCodeGivesSeventeenCharactersFromTheTable) {
  for (int code = 0; code <= 255; ++code) {
    const auto it = StateTable().find(code);
    const std::string before = it == StateTable().end() ? "??" : it->second.first;
    const std::string after = it == StateTable().end() ? "??" : it->second.second;
    const auto c = static_cast<uint8_t>(code);
    EXPECT_EQ(StateTextBefore(c), Padded17(before)) << "code " << code;
    EXPECT_EQ(StateTextAfter(c), Padded17(after)) << "code " << code;
    EXPECT_EQ(Characters(StateTextBefore(c)), 17U) << "code " << code;
    EXPECT_EQ(Characters(StateTextAfter(c)), 17U) << "code " << code;
  }
}

TEST(EventTexts, EdgeCodesExactly) {
  struct Case {
    uint8_t code;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {13, "?                ", "-?               "}, {14, "?                ", "--?              "},
      {255, "                 ", "ЗАПИСЬ ПОВРЕЖДЕНА"}, {254, "                 ", "                 "},
      {30, "??               ", "??               "}, {31, "??               ", "??               "},
      {50, "??               ", "??               "}, {200, "??               ", "??               "},
      {39, "??               ", "??               "}, {83, "??               ", "??               "},
      {90, "??               ", "??               "}, {253, "??               ", "??               "},
      {86, "НЕИСПР. ИП       ", "НЕИСПР. ИП       "}, {89, "ИП НОРМА         ", "ИП НОРМА         "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StateTextBefore(c.code), c.before) << int(c.code);
    EXPECT_EQ(StateTextAfter(c.code), c.after) << int(c.code);
  }
}

TEST(EventTexts, FireDistanceRule) {
  struct Case {
    uint8_t code;
    uint16_t distance;
    const char* text;
  };
  const Case cases[] = {
      {0, 150, "ПОЖАР  L= 0150м"}, {0, 2000, "ПОЖАР  L= 2000м"}, {0, 2001, "ПОЖАР            "},
      {0, 0, "ПОЖАР  L= 0000м"},   {0, 7, "ПОЖАР  L= 0007м"},     {0, 65535, "ПОЖАР            "},
      {4, 150, "НОРМА            "}, {255, 0xFFFF, "ЗАПИСЬ ПОВРЕЖДЕНА"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StateAfterText(c.code, c.distance), c.text) << int(c.code) << " " << c.distance;
    EXPECT_EQ(ShowsFireDistance(c.code, c.distance), c.code == 0 && c.distance <= 2000);
  }
}

TEST(EventTexts, SourceClasses) {
  struct Case {
    uint16_t source;
    SourceClass cls;
    const char* cell;
    const char* field;
  };
  const Case cases[] = {
      {0, SourceClass::Zone, " :0000", ":0000    "},     {12, SourceClass::Zone, " :0012", ":0012    "},
      {511, SourceClass::Zone, " :0511", ":0511    "},   {512, SourceClass::Other, " :?   ", ":?       "},
      {999, SourceClass::Other, " :?   ", ":?       "}, {1000, SourceClass::Panel, " :ПУЛЬТ", ":ПУЛЬТ   "},
      {1001, SourceClass::Device, " :П001", ":П001    "}, {1247, SourceClass::Device, " :П247", ":П247    "},
      {1248, SourceClass::Other, " :?   ", ":?       "}, {65535, SourceClass::Other, " :?   ", ":?       "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifySource(c.source), c.cls) << c.source;
    EXPECT_EQ(SourceCellText(c.source), c.cell) << c.source;
    EXPECT_EQ(SourceFieldText(c.source), c.field) << c.source;
    EXPECT_EQ(Characters(SourceFieldText(c.source)), 9U) << c.source;
  }
}

TEST(EventTexts, TimeAndDateRenderings) {
  struct Case {
    uint8_t h, mi, s, d, mo, y;
    const char* time;
    const char* date;
  };
  const Case cases[] = {
      {7, 5, 9, 3, 2, 19, " 7:05:09", " 3.02.2019"},
      {14, 5, 7, 13, 12, 18, "14:05:07", "13.12.2018"},
      {0, 0, 0, 1, 1, 0, " 0:00:00", " 1.01.2000"},
      {9, 59, 59, 9, 9, 9, " 9:59:59", " 9.09.2009"},
      {10, 10, 10, 10, 10, 10, "10:10:10", "10.10.2010"},
      {255, 255, 255, 255, 255, 255, "255:255:255", "255.255.20255"},  // an erased record
      {24, 60, 60, 32, 13, 100, "24:60:60", "32.13.20100"},
  };
  for (const auto& c : cases) {
    EventFields e;
    e.hour = c.h, e.minute = c.mi, e.second = c.s, e.day = c.d, e.month = c.mo, e.year = c.y;
    EXPECT_EQ(EventTimeText(e), c.time);
    EXPECT_EQ(EventDateText(e), c.date);
  }
}

TEST(EventTexts, DecodeReadsTheSourceLowByteFirstAndTheDistanceHighByteFirst) {
  const uint8_t bytes[12] = {0xE9, 0x03, 4, 0, 0x00, 0x96, 14, 5, 7, 13, 12, 18};
  const EventFields e = DecodeEvent(bytes);
  EXPECT_EQ(e.source, 1001);
  EXPECT_EQ(e.before, 4);
  EXPECT_EQ(e.after, 0);
  EXPECT_EQ(e.distance, 150);
  EXPECT_EQ(EventTimeText(e), "14:05:07");
  EXPECT_EQ(EventDateText(e), "13.12.2018");
}

}  // namespace
}  // namespace zelor::test

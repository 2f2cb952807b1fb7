#include "cli/cli_commands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/cli_views.h"
#include "config/config_files.h"
#include "config/config_image.h"
#include "config/config_report.h"
#include "config/config_texts.h"
#include "link/format.h"
#include "link/line_rates.h"
#include "link/link_texts.h"
#include "link/port_choice.h"
#include "qtcore/qt_pc_time.h"
#include "qtcore/qt_port_sources.h"
#include "service/address_search.h"
#include "service/archive_csv.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_reading.h"
#include "service/archive_texts.h"
#include "service/monitor.h"
#include "service/monitor_texts.h"
#include "service/panel_parameters.h"
#include "service/search_texts.h"
#include "service/service_tab_texts.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_texts.h"

namespace zelor::cli {

using enum OperationMode;

std::optional<long> WholeNumber(const std::string& text, long low, long high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  }
  const long value = std::stol(text);
  if (value < low || value > high) return std::nullopt;
  return value;
}

namespace {

// Pulls "--name" out of args; true when it was there.
bool TakeFlag(Args& args, const std::string& name) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it == name) {
      args.erase(it);
      return true;
    }
  }
  return false;
}

// Pulls "--name VALUE" out of args.
std::optional<std::string> TakeValue(Args& args, const std::string& name) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it != name) continue;
    if (it + 1 == args.end()) throw UsageError(name + " needs a value");
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
  }
  return std::nullopt;
}

void NoMoreArgs(const Args& args) {
  if (!args.empty()) throw UsageError("unexpected argument: " + args.front());
}

// ---- params ----

struct ParameterValues {
  uint8_t address = 0;
  std::optional<CivilTime> clock;
  std::string clockDifference;
  int fireMode = 0, fireDuration = 0, alarmMode = 0, alarmDuration = 0;
  int contrast = 0, volume = 0, trim = 0, internalSpeed = 0, extraTimeout = 0;
  std::string contrastText, volumeText, trimText, extraTimeoutText;
};

ParameterValues ValuesOf(const KeptParameters& view, uint8_t address) {
  ParameterValues v;
  v.address = address;
  auto combo = [&](ParamCombo c) { return view.ComboIndex(c); };
  const auto day = combo(ParamCombo::TeSComboBox2), month = combo(ParamCombo::TeSComboBox3),
             year = combo(ParamCombo::TeSComboBox4), hour = combo(ParamCombo::TeSComboBox5),
             minute = combo(ParamCombo::TeSComboBox6), second = combo(ParamCombo::TeSComboBox7);
  if (day && month && year && hour && minute && second) {
    v.clock = CivilTime{2014 + *year, *month + 1, *day + 1, *hour, *minute, *second};
  }
  auto text = [&](ParamText t) {
    const auto it = view.texts.find(t);
    return it == view.texts.end() ? std::string() : TrimBlanks(it->second);
  };
  auto radio = [&](ParamRadioGroup g) {
    const auto it = view.radios.find(g);
    return it == view.radios.end() ? 0 : it->second;
  };
  auto scroll = [&](ParamScroll s) {
    const auto it = view.scrolls.find(s);
    return it == view.scrolls.end() ? 0 : it->second;
  };
  v.clockDifference = text(ParamText::Label2);
  v.fireMode = radio(ParamRadioGroup::FireMode);
  v.fireDuration = radio(ParamRadioGroup::FireDuration);
  v.alarmMode = radio(ParamRadioGroup::AlarmMode);
  v.alarmDuration = radio(ParamRadioGroup::AlarmDuration);
  v.contrast = scroll(ParamScroll::TeScrollBar1);
  v.volume = scroll(ParamScroll::TeScrollBar2);
  v.trim = scroll(ParamScroll::TeScrollBar3);
  v.extraTimeout = scroll(ParamScroll::TeScrollBar4);
  v.internalSpeed = combo(ParamCombo::TeSComboBox8).value_or(-1);
  v.contrastText = text(ParamText::TeGroupBox10);
  v.volumeText = text(ParamText::TeGroupBox3);
  v.trimText = text(ParamText::Label1);
  v.extraTimeoutText = text(ParamText::TeLabel9);
  return v;
}

std::string ClockText(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buf;
}

// The caption of an output radio button ("ПОСТ.*", "5МИН.", "0,5 Гц", "1,0Гц"), empty for none.
std::string OutputRow(int number) {
  if (number < 1 || number > static_cast<int>(service_text::kOutputRows.size())) return {};
  return service_text::kOutputRows[static_cast<std::size_t>(number - 1)];
}

void PrintText(const ParameterValues& v) {
  std::cout << "address: " << int{v.address} << "\n"
            << "clock: " << (v.clock ? ClockText(*v.clock) : std::string("?")) << "\n"
            << "clock difference: " << v.clockDifference << "\n"
            << "fire output: mode " << OutputRow(v.fireMode) << ", duration " << OutputRow(v.fireDuration) << "\n"
            << "alarm output: mode " << OutputRow(v.alarmMode) << ", duration " << OutputRow(v.alarmDuration) << "\n"
            << "contrast: " << v.contrastText << "\n"
            << "volume: " << v.volumeText << "\n"
            << "clock trim: " << v.trimText << "\n"
            << "internal interface speed: " << (IsBaudIndex(v.internalSpeed) ? BaudRateText(v.internalSpeed) : "?") << "\n"
            << "extra response time-out: " << v.extraTimeoutText << " ms\n";
}

void PrintJson(const ParameterValues& v) {
  std::cout << "{\"address\": " << int{v.address}
            << ", \"clock\": " << (v.clock ? JsonString(ClockText(*v.clock)) : std::string("null"))
            << ", \"clock_difference\": " << JsonString(v.clockDifference)
            << ", \"fire_output\": {\"mode\": " << JsonString(OutputRow(v.fireMode))
            << ", \"duration\": " << JsonString(OutputRow(v.fireDuration)) << "}"
            << ", \"alarm_output\": {\"mode\": " << JsonString(OutputRow(v.alarmMode))
            << ", \"duration\": " << JsonString(OutputRow(v.alarmDuration)) << "}"
            << ", \"contrast\": " << v.contrast << ", \"volume\": " << v.volume << ", \"clock_trim\": " << v.trim
            << ", \"internal_speed\": "
            << (IsBaudIndex(v.internalSpeed) ? BaudRateText(v.internalSpeed) : std::string("null"))
            << ", \"extra_timeout_ms\": "
            << (WholeNumber(v.extraTimeoutText, 0, 100000) ? v.extraTimeoutText : JsonString(v.extraTimeoutText))
            << "}\n";
}

// The parameter query, asked again when its reply was lost, until the view has been filled.
void QueryParameters(Session& s, PanelParameters& parameters, KeptParameters& view) {
  for (int attempt = 0; attempt < kRequestAttempts; ++attempt) {
    view.texts.erase(ParamText::Label2);
    if (!s.RunRequest([&] { parameters.QueryA_ButtClick(); }, 1)) {
      if (s.memo1.LastLine().rfind(text::kPortOpenError, 0) == 0) break;
      continue;
    }
    if (view.texts.count(ParamText::Label2)) return;
  }
  throw CommandFailed("no parameters from the panel at address " + std::to_string(s.link.DeviceAddress) + " on " +
                      s.port.PortName() + ": " + s.LastLogLine("no answer"));
}

}  // namespace

// ---- ports ----

void PortsCommand(const LineOptions& line, const Args& args) {
  NoMoreArgs(args);
  class Listed : public PortMenu {
   public:
    void SetEntries(const std::vector<std::string>& entries) override { names = entries; }
    std::optional<std::string> Choose(std::size_t) override { return std::nullopt; }
    std::vector<std::string> names;
  } menu;
  KeptLog log(line.log);
  RefreshPorts(ProductionPortSources(), "", menu, log);
  for (const auto& name : menu.names) std::cout << name << "\n";
}

// ---- search ----

void SearchCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  int delayEntry = 1;  // 150 ms, as the window starts
  if (const auto delay = TakeValue(args, "--delay")) {
    const auto ms = WholeNumber(*delay, 0, 100000);
    int entry = -1;
    for (std::size_t i = 0; ms && i < AddressSearch::kDelays.size(); ++i) {
      if (AddressSearch::kDelays[i] == *ms) entry = static_cast<int>(i);
    }
    if (entry < 0) throw UsageError("--delay takes 100, 150, 200, 250, 300 or 350 (ms)");
    delayEntry = entry;
  }
  // A reply lost on the line passes its address over: a search that finds nothing is run again.
  long passes = 3;
  if (const auto given = TakeValue(args, "--passes")) {
    const auto n = WholeNumber(*given, 1, 10);
    if (!n) throw UsageError("--passes takes 1..10");
    passes = *n;
  }
  NoMoreArgs(args);
  Session s(line);
  s.CheckPort();
  KeptSearch view;
  AddressSearch search(s.link, s.sequencer, view);
  search.DelayClick(delayEntry);
  const int limitMs = (kHighestSlaveAddress + 10) * (AddressSearch::kDelays.back() + 50);
  for (long pass = 0; pass < passes; ++pass) {
    search.CustomItem5Click();
    if (!s.RunUntil([&] { return view.caption == search_text::kStart && s.Idle(); }, limitMs)) {
      throw CommandFailed("the search did not end");
    }
    for (const auto& logged : s.memo1.Lines()) {
      if (logged.rfind(search_text::kFoundAt, 0) == 0) {
        std::cout << int{s.link.DeviceAddress} << "\n";
        return;
      }
    }
    if (s.memo1.LastLine().rfind(text::kPortOpenError, 0) == 0) break;
  }
  throw CommandFailed("search on " + s.port.PortName() + ": " + s.LastLogLine("no panel found"));
}

// ---- params ----

void ParamsCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  const bool json = TakeFlag(args, "--json");
  NoMoreArgs(args);
  Session s(line);
  s.CheckPort();
  KeptParameters view;
  PanelParameters parameters(s.link, view, PcLocalTime);
  QueryParameters(s, parameters, view);
  const ParameterValues values = ValuesOf(view, s.link.DeviceAddress);
  if (json) {
    PrintJson(values);
  } else {
    PrintText(values);
  }
}

// ---- clock ----

namespace {
std::string ClockSetUsage() {
  return "clock set takes now or YYYY-MM-DD HH:MM:SS (a real date, years " + std::to_string(kClockFirstYear) + ".." +
         std::to_string(kClockLastYear) + ")";
}

std::optional<CivilTime> ParseClock(const std::string& date, const std::string& time) {
  CivilTime t;
  char tail = 0;
  if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &t.year, &t.month, &t.day, &tail) != 3) return std::nullopt;
  if (std::sscanf(time.c_str(), "%2d:%2d:%2d%c", &t.hour, &t.minute, &t.second, &tail) != 3) return std::nullopt;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  // Only the years the panel's clock shows: it keeps the year modulo 100, so 2013 or 2031 would
  // be held as another year than the one asked for.
  if (t.year < kClockFirstYear || t.year > kClockLastYear || t.month < 1 || t.month > 12 || t.day < 1) {
    return std::nullopt;
  }
  if (t.day > kDays[t.month - 1] || (t.month == 2 && !leap && t.day > 28)) return std::nullopt;
  if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}
}  // namespace

void ClockCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  if (args.empty()) throw UsageError("clock needs set or trim");
  const std::string what = args.front();
  args.erase(args.begin());
  if (what == "set") {
    PanelParameters::LocalClock when = PcLocalTime;
    if (args.size() == 2) {
      const auto t = ParseClock(args[0], args[1]);
      if (!t) throw UsageError(ClockSetUsage());
      when = [t] { return *t; };
      args.clear();
    } else if (args.size() == 1 && args[0] == "now") {
      args.clear();
    }
    if (const int year = when().year; year < kClockFirstYear || year > kClockLastYear) {
      throw CommandFailed("clock set: the PC's clock shows the year " + std::to_string(year) +
                          ", which the panel's clock cannot hold; give the date: " + ClockSetUsage());
    }
    NoMoreArgs(args);
    Session s(line);
    s.CheckPort();
    KeptParameters view;
    PanelParameters parameters(s.link, view, when);
    if (!s.RunRequest([&] { parameters.TimeSet_ButtClick(); }, kRequestAttempts)) {
      throw CommandFailed("clock set on " + s.port.PortName() + ": " + s.LastLogLine("no answer"));
    }
    const auto set = ValuesOf(view, s.link.DeviceAddress).clock;
    std::cout << "clock set: " << (set ? ClockText(*set) : std::string("?")) << "\n";
    return;
  }
  if (what == "trim") {
    if (args.size() != 1) throw UsageError("clock trim takes one step, -4..4");
    const auto step = WholeNumber(args[0], -4, 4);
    if (!step) throw UsageError("clock trim takes one step, -4..4");
    Session s(line);
    s.CheckPort();
    KeptParameters view;
    PanelParameters parameters(s.link, view, PcLocalTime);
    const auto send = [&] { parameters.Scroll(ParamScroll::TeScrollBar3, ScrollCode::Step, static_cast<int>(*step)); };
    if (!s.RunRequest(send, kRequestAttempts)) {
      throw CommandFailed("clock trim on " + s.port.PortName() + ": " + s.LastLogLine("no answer"));
    }
    std::cout << TrimBlanks(view.texts[ParamText::Label1]) << "\n";
    return;
  }
  throw UsageError("clock takes set or trim, not " + what);
}

// ---- archive ----

namespace {
// Writes `text` to `path` through a working file beside it, so a failed write keeps what was there.
void WriteWhole(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::filesystem::path working = target;
  working += ".part";
  {
    std::ofstream out(working, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(working, ignored);
      throw CommandFailed("cannot write " + path);
    }
  }
  std::error_code error;
  std::filesystem::rename(working, target, error);
  if (error) {
    std::filesystem::remove(working, error);
    throw CommandFailed("cannot write " + path);
  }
}

// Where a name leads: absolute, its links followed even to a file that does not exist yet, "." and
// ".." resolved. Empty when the file system cannot say.
std::filesystem::path FileBehind(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path p = fs::absolute(name, error);
  std::error_code notThere;  // a name whose file does not exist is simply no link
  for (int hops = 0; !error && hops < 40 && fs::is_symlink(p, notThere); ++hops) {
    const fs::path target = fs::read_symlink(p, error);
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  if (!error) p = fs::weakly_canonical(p, error);
  return error ? fs::path() : p;
}

// True when two names reach one file: the same place once links, "." and ".." are followed, or
// one existing file under two names (hard links).
bool SameFile(const std::string& a, const std::string& b) {
  const auto fa = FileBehind(a), fb = FileBehind(b);
  if (fa.empty() || fb.empty()) return a == b;
  if (fa == fb) return true;
  std::error_code error;
  return std::filesystem::equivalent(fa, fb, error) && !error;
}

// How an archive reading ends well: its title line and the last reply's "   : ОК."; a give-up
// or a failed write leaves other lines.
bool EndedWell(const KeptLog& memo) {
  return memo.Lines() == std::vector<std::string>{text::kArchiveReading, text::kOk};
}

void DownloadArchive(const LineOptions& line, Args args) {
  const auto csv = TakeValue(args, "--csv");
  if (args.size() != 1) throw UsageError("archive download takes one FILE.txt");
  const std::string path = args[0];
  if (csv && SameFile(path, *csv)) {
    throw UsageError("archive download: " + path + " and --csv " + *csv + " name the same file");
  }
  Session s(line);
  s.CheckPort();
  // The download goes to a file of its own that takes the given name only when the whole archive
  // is in it: a download that gives up part-way keeps the file that was there.
  const std::string partial = path + ".download";
  struct RemovedUnlessKept {
    const std::string& file;
    bool kept = false;
    ~RemovedUnlessKept() {
      std::error_code ignored;
      if (!kept) std::filesystem::remove(file, ignored);
    }
  } cleanup{partial};
  KeptArchive view(partial);
  ArchiveDownload download(s.link, s.sequencer, view, PcArchiveDateTexts);
  std::string table = ArchiveCsvHeading();
  download.onRecordLine = [&table](int32_t number, const EventFields& event) { table += ArchiveCsvRow(number, event); };
  download.File_ButtAClick();
  if (download.DownloadActive != 1) {
    throw CommandFailed("archive download: cannot create " + partial);
  }
  constexpr int kDownloadLimitMs = 30 * 60 * 1000;
  if (!s.RunUntil([&] { return download.DownloadActive == 0 && s.Idle(); }, kDownloadLimitMs)) {
    throw CommandFailed("archive download did not end");
  }
  if (!EndedWell(s.memo1)) {
    // A write that failed (a full disk) keeps the records read in the download's working file.
    if (const std::string kept = download.File().KeptPath(); !kept.empty()) {
      throw CommandFailed("archive download: cannot write " + partial + "; the records read so far are in " + kept);
    }
    throw CommandFailed("archive download from " + s.port.PortName() + ": " + s.LastLogLine("stopped"));
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    cleanup.kept = true;  // the whole archive, read: it stays where it is
    throw CommandFailed("archive download: cannot write " + path + ": " + error.message() + "; the records are in " +
                        partial);
  }
  if (csv) WriteWhole(*csv, table);
  std::cout << download.FileLineNumber - 1 << " records written to " << path << "\n";
}

void LastRecords(const LineOptions& line, Args args) {
  long count = kFileGridRecordRows;
  if (!args.empty()) {
    const auto n = WholeNumber(args[0], 1, kFileGridRecordRows);
    if (!n) throw UsageError("archive last takes N, 1..15");
    count = *n;
    args.erase(args.begin());
  }
  NoMoreArgs(args);
  Session s(line);
  s.CheckPort();
  KeptArchive view("");
  ArchiveReading reading(s.link, s.sequencer, view);
  reading.File_ButtBClick();
  constexpr int kLastLimitMs = 5 * 60 * 1000;
  if (!s.RunUntil([&] { return reading.Last15Active == 0 && s.Idle(); }, kLastLimitMs)) {
    throw CommandFailed("archive last did not end");
  }
  if (!EndedWell(s.memo1)) {
    throw CommandFailed("archive last from " + s.port.PortName() + ": " + s.LastLogLine("stopped"));
  }
  for (int row = 1; row <= count; ++row) {
    std::string out;
    bool any = false;
    for (int column = 0; column < kFileGridColumns; ++column) {
      const auto it = view.cells.find({column, row});
      const std::string cell = it == view.cells.end() ? std::string() : it->second;
      any = any || !cell.empty();
      if (column > 0) out += ' ';
      out += cell;
    }
    if (any) std::cout << out << "\n";
  }
}
}  // namespace

void ArchiveCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  if (args.empty()) throw UsageError("archive needs download or last");
  const std::string what = args.front();
  args.erase(args.begin());
  if (what == "download") return DownloadArchive(line, args);
  if (what == "last") return LastRecords(line, args);
  throw UsageError("archive takes download or last, not " + what);
}

// ---- upgrade ----

void UpgradeCommand(const LineOptions& line, const Args& args) {
  if (args.size() != 1) throw UsageError("upgrade takes one FIRMWARE.bin");
  Session s(line);
  s.CheckPort();
  KeptUpgrade view(args[0]);
  FirmwareUpgrade upgrade(s.link, s.sequencer, view);
  upgrade.CustomItem13Click();
  if (s.link.OperationMode != omUpgrade) {
    throw CommandFailed("upgrade: " + args[0] + ": " + s.LastLogLine("not a firmware file"));
  }
  constexpr int kUpgradeLimitMs = 30 * 60 * 1000;
  if (!s.RunUntil([&] { return s.Idle(); }, kUpgradeLimitMs)) throw CommandFailed("the upgrade did not end");
  if (!s.memo1.Contains(upgrade_text::kUpgradeOk)) {
    throw CommandFailed("upgrade on " + s.port.PortName() + ": " + s.LastLogLine("stopped"));
  }
  std::cout << WithoutLead(upgrade_text::kUpgradeOk) << "\n";
}

// ---- monitor ----

void MonitorCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  const bool json = TakeFlag(args, "--json");
  NoMoreArgs(args);
  Session s(line);
  s.CheckPort();
  s.CatchInterrupt();
  PrintedMonitor view(json);
  view.SetButtonCaption(monitor_text::kStart);
  LiveMonitor monitor(s.link, s.sequencer, view, PcLocalTime);
  monitor.TeButton2Click();
  // Until the panel has answered once, the same few lost replies as a single request are allowed;
  // after that, monitoring rides out any gap until it is interrupted.
  constexpr int kStartAttempts = 6;
  const auto noPanel = [&] { return view.printed == 0 && s.memo1.FailuresInRow() >= kStartAttempts; };
  const auto portGone = [&] { return view.printed == 0 && s.memo1.LastLine().rfind(text::kPortOpenError, 0) == 0; };
  constexpr int kForever = 1 << 30;
  s.RunUntil([&] { return s.Interrupted() || noPanel() || portGone(); }, kForever);
  const bool failed = !s.Interrupted();
  monitor.TeButton2Click();
  // A stop waits for the reply in flight; nothing is sent after it.
  constexpr int kStopLimitMs = 3000;
  s.RunUntil([&] { return !s.link.Timer_Rx->Enabled() && s.link.WaitPending == 0 && !s.link.Timer_Wait->Enabled(); },
             kStopLimitMs);
  s.link.ClosePort();
  if (failed) {
    throw CommandFailed("monitor on " + s.port.PortName() + ": " + s.LastLogLine("no answer from the panel"));
  }
}

// ---- config ----

namespace {

// The parse's notes on what it had to leave out of an image, as warnings.
void WarnAbout(const std::vector<std::string>& notes) {
  for (const auto& note : notes) std::cerr << kProgramName << ": warning: " << WithoutLead(note) << "\n";
}

// Runs the 68-block read into the transfer's image and the model; throws when it did not end well.
void ReadConfiguration(Session& s, ConfigTransfer& transfer, const char* what) {
  transfer.Load_ButtAClick();
  constexpr int kTransferLimitMs = 10 * 60 * 1000;
  if (!s.RunUntil([&] { return s.Idle(); }, kTransferLimitMs)) throw CommandFailed(std::string(what) + " did not end");
  const auto& lines = s.memo1.Lines();
  if (lines.size() < 2 || lines.front() != text::kConfigReading || lines.back() != text::kOk) {
    // The give-up writes its reason under the title line; a bad image CRC stands alone first.
    std::string why = "no answer";
    if (!lines.empty()) why = lines.front() == text::kConfigReading && lines.size() > 1 ? lines[1] : lines.front();
    throw CommandFailed(std::string(what) + " from " + s.port.PortName() + ": " + WithoutLead(why));
  }
  WarnAbout(std::vector<std::string>(lines.begin() + 1, lines.end() - 1));
}

void ConfigRead(const LineOptions& line, Args args) {
  if (args.size() != 1) throw UsageError("config read takes one FILE.bin");
  Session s(line);
  s.CheckPort();
  ConfigModel model;
  FileTransfer view("", args[0]);
  ConfigTransfer transfer(s.link, s.sequencer, model, view);
  ReadConfiguration(s, transfer, "config read");
  s.memo1.Clear();
  transfer.Save_ButtBClick();
  if (!view.written) throw CommandFailed("config read: " + s.LastLogLine("nothing written to " + args[0]));
  std::cout << "configuration written to " << *view.written << "\n";
}

void ConfigWrite(const LineOptions& line, Args args) {
  const bool verify = TakeFlag(args, "--verify");
  if (args.size() != 1) throw UsageError("config write takes one FILE.bin");
  Session s(line);
  s.CheckPort();
  ConfigModel model;
  FileTransfer view(args[0], "");
  ConfigTransfer transfer(s.link, s.sequencer, model, view);
  s.memo1.Clear();
  transfer.Load_ButtBClick();
  if (!view.modelReplaced) throw CommandFailed("config write: " + args[0] + ": " + s.LastLogLine("not read"));
  // An image the parse had to cut is not written: the panel would get less than the file holds.
  if (!s.memo1.Lines().empty()) {
    WarnAbout(s.memo1.Lines());
    throw CommandFailed("config write: " + args[0] + " is not sound; nothing was written");
  }
  transfer.Save_ButtAClick();
  if (s.link.OperationMode != omConfigWrite) {
    throw CommandFailed("config write: " + WithoutLead(s.memo2.LastLine()));  // the build's refusal
  }
  constexpr int kTransferLimitMs = 10 * 60 * 1000;
  if (!s.RunUntil([&] { return s.Idle(); }, kTransferLimitMs)) throw CommandFailed("config write did not end");
  if (s.memo1.Lines() != std::vector<std::string>{text::kConfigWriting, text::kOk}) {
    throw CommandFailed("config write to " + s.port.PortName() + ": " + s.LastLogLine("not applied"));
  }
  if (verify) {
    const ConfigImage written = transfer.Image();
    ReadConfiguration(s, transfer, "config write --verify");
    const auto sent = std::span(written).first(TransferLength);
    const auto back = std::span(transfer.Image()).first(TransferLength);
    if (!std::equal(sent.begin(), sent.end(), back.begin())) {
      throw CommandFailed("config write --verify: the panel holds another configuration than the one written");
    }
    std::cout << "configuration written, applied and read back the same\n";
    return;
  }
  std::cout << "configuration written and applied\n";
}

void ConfigShow(Args args) {
  const bool json = TakeFlag(args, "--json");
  const bool html = TakeFlag(args, "--html");
  if (json && html) throw UsageError("config show takes --json or --html, not both");
  if (args.size() != 1) throw UsageError("config show takes one FILE.bin");
  FileTransfer files("", "");
  const FileBytes file = files.ReadFile(args[0], ImageSize + 1);
  if (!file.error.empty()) throw CommandFailed("config show: " + WithoutLead(FileErrorText(file.error)));
  if (const auto refusal = RefuseImageFile(file.size)) throw CommandFailed("config show: " + WithoutLead(*refusal));
  if (const auto refusal = RefuseImageBytes(file.bytes)) throw CommandFailed("config show: " + WithoutLead(*refusal));
  auto image = std::make_unique<ConfigImage>();
  std::copy(file.bytes.begin(), file.bytes.end(), image->begin());
  ConfigModel model;
  WarnAbout(ParseImage(model, *image));
  const ConfigReport report = BuildConfigReport(model);
  std::cout << (json ? ReportJson(report) : html ? ReportHtml(report) : ReportText(report));
}

}  // namespace

void ConfigCommand(const LineOptions& line, const Args& given) {
  Args args = given;
  if (args.empty()) throw UsageError("config needs read, write or show");
  const std::string what = args.front();
  args.erase(args.begin());
  if (what == "read") return ConfigRead(line, args);
  if (what == "write") return ConfigWrite(line, args);
  if (what == "show") return ConfigShow(args);
  throw UsageError("config takes read, write or show, not " + what);
}

}  // namespace zelor::cli

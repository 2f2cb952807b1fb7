// A readable report of a configuration: its devices with their zones, the zone groups and the
// automation rules, as plain text, as JSON and as a printable HTML page for installation records.
#pragma once
#include <string>
#include <vector>

#include "model/config_model.h"

namespace zelor {

struct ReportZone {
  unsigned number = 0;      // the conventional number the panel shows
  std::string kind;         // "ОХР.", "ПОЖ.", ...
  std::string group;        // the group's name, empty for none
  std::string name;
};

struct ReportDevice {
  unsigned position = 0;  // 1.. in the node list
  unsigned typeCode = 0;
  std::string type;
  std::string name;
  unsigned address = 0;
  std::vector<ReportZone> zones;
};

struct ReportRule {
  unsigned number = 0;  // 1..
  std::string activatorZone;
  std::string event;
  std::string executorZone;
  std::string action;
};

struct ConfigReport {
  std::vector<ReportDevice> devices;
  std::vector<std::string> groups;  // the ten group names
  std::vector<ReportRule> rules;
};

// Texts in UTF-8, blanks trimmed; fields the model leaves unset read "-?" as in the editor.
ConfigReport BuildConfigReport(const ConfigModel& model);

std::string ReportText(const ConfigReport& report);
std::string ReportJson(const ConfigReport& report);
// A whole HTML page with its own print style; every text is escaped.
std::string ReportHtml(const ConfigReport& report);

}  // namespace zelor

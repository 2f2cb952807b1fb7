#include "config/config_report.h"

#include <algorithm>

#include "automation/rule_vocabulary.h"
#include "link/format.h"
#include "model/cp1251.h"

namespace zelor {

namespace {

std::string Utf8(const Cp1251String& text) { return TrimBlanks(Utf8FromCp1251(text)); }

std::string Html(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string SideText(const RuleSide& side) { return Utf8(side.Text); }

}  // namespace

ConfigReport BuildConfigReport(const ConfigModel& model) {
  ConfigReport report;
  const unsigned nodes = std::min<unsigned>(model.NodeCount, kMaxNodes);
  for (unsigned n = 0; n < nodes; ++n) {
    const NodeRecord& node = model.Nodes[n];
    ReportDevice device;
    device.position = n + 1;
    device.typeCode = node.Type;
    device.type = TrimBlanks(DeviceTypeText(node.Type));
    device.name = Utf8(node.Name);
    device.address = node.Address;
    const unsigned zones = std::min<unsigned>(node.ZoneCount, kMaxZonesPerNode);
    for (unsigned z = 0; z < zones; ++z) {
      const ZoneRecord& zone = node.Zones[z];
      ReportZone r;
      r.number = zone.ConvNumber >= kExplicitNumberBase ? zone.ConvNumber - kExplicitNumberBase : zone.ConvNumber;
      r.kind = TrimBlanks(ZoneKindText(zone.Kind));
      if (zone.Group < kGroupCount) r.group = Utf8(model.GroupNames[zone.Group]);
      r.name = Utf8(zone.Name);
      device.zones.push_back(r);
    }
    report.devices.push_back(device);
  }
  for (const auto& name : model.GroupNames) report.groups.push_back(Utf8(name));
  const unsigned rules = std::min<unsigned>(model.RuleCount, kMaxRules);
  for (unsigned i = 0; i < rules; ++i) {
    ReportRule rule;
    rule.number = i + 1;
    rule.activatorZone = SideText(model.Activators[i]);
    rule.event = TrimBlanks(RuleEventText(model.Activators[i].Code));
    rule.executorZone = SideText(model.Executors[i]);
    rule.action = TrimBlanks(RuleActionText(model.Executors[i].Code));
    report.rules.push_back(rule);
  }
  return report;
}

std::string ReportText(const ConfigReport& report) {
  std::string out = "DEVICES (" + std::to_string(report.devices.size()) + ")\n";
  for (const auto& d : report.devices) {
    out += std::to_string(d.position) + ". " + d.type + " \"" + d.name + "\", address " + std::to_string(d.address) + "\n";
    for (const auto& z : d.zones) {
      out += "     zone " + std::to_string(z.number) + "  " + z.kind + "  \"" + z.name +
             "\"" + (z.group.empty() ? "" : "  group \"" + z.group + "\"") + "\n";
    }
  }
  out += "\nGROUPS\n";
  for (std::size_t g = 0; g < report.groups.size(); ++g) out += std::to_string(g) + ". " + report.groups[g] + "\n";
  out += "\nRULES (" + std::to_string(report.rules.size()) + ")\n";
  for (const auto& r : report.rules) {
    out += std::to_string(r.number) + ". " + r.activatorZone + " : " + r.event + "  ->  " + r.executorZone + " : " +
           r.action + "\n";
  }
  return out;
}

std::string ReportJson(const ConfigReport& report) {
  std::string out = "{\"devices\": [";
  for (std::size_t i = 0; i < report.devices.size(); ++i) {
    const auto& d = report.devices[i];
    if (i) out += ", ";
    out += "{\"position\": " + std::to_string(d.position) + ", \"type_code\": " + std::to_string(d.typeCode) +
           ", \"type\": " + JsonString(d.type) + ", \"name\": " + JsonString(d.name) +
           ", \"address\": " + std::to_string(d.address) + ", \"zones\": [";
    for (std::size_t k = 0; k < d.zones.size(); ++k) {
      const auto& z = d.zones[k];
      if (k) out += ", ";
      out += "{\"number\": " + std::to_string(z.number) + ", \"kind\": " + JsonString(z.kind) + ", \"group\": " + JsonString(z.group) + ", \"name\": " + JsonString(z.name) + "}";
    }
    out += "]}";
  }
  out += "], \"groups\": [";
  for (std::size_t g = 0; g < report.groups.size(); ++g) out += (g ? ", " : "") + JsonString(report.groups[g]);
  out += "], \"rules\": [";
  for (std::size_t i = 0; i < report.rules.size(); ++i) {
    const auto& r = report.rules[i];
    if (i) out += ", ";
    out += "{\"number\": " + std::to_string(r.number) + ", \"activator_zone\": " + JsonString(r.activatorZone) +
           ", \"event\": " + JsonString(r.event) + ", \"executor_zone\": " + JsonString(r.executorZone) +
           ", \"action\": " + JsonString(r.action) + "}";
  }
  return out + "]}\n";
}

std::string ReportHtml(const ConfigReport& report) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>ЗЕЛОР-ПУИ: конфигурация</title>\n"
      "<style>\nbody { font-family: sans-serif; font-size: 11pt; }\n"
      "table { border-collapse: collapse; margin-bottom: 1em; }\n"
      "th, td { border: 1px solid #444; padding: 2px 6px; text-align: left; }\n"
      "th { background: #ddd; }\n"
      "@media print { h2 { page-break-after: avoid; } tr { page-break-inside: avoid; } }\n"
      "</style>\n</head>\n<body>\n<h1>ЗЕЛОР-ПУИ: конфигурация</h1>\n";
  out += "<h2>Devices (" + std::to_string(report.devices.size()) + ")</h2>\n";
  for (const auto& d : report.devices) {
    out += "<h3>" + std::to_string(d.position) + ". " + Html(d.type) + " &laquo;" + Html(d.name) + "&raquo;, address " +
           std::to_string(d.address) + "</h3>\n";
    if (d.zones.empty()) continue;
    out += "<table>\n<tr><th>Zone</th><th>Kind</th><th>Name</th><th>Group</th></tr>\n";
    for (const auto& z : d.zones) {
      out += "<tr><td>" + std::to_string(z.number) + "</td><td>" + Html(z.kind) +
             "</td><td>" + Html(z.name) + "</td><td>" + Html(z.group) + "</td></tr>\n";
    }
    out += "</table>\n";
  }
  out += "<h2>Groups</h2>\n<table>\n<tr><th>#</th><th>Name</th></tr>\n";
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    out += "<tr><td>" + std::to_string(g) + "</td><td>" + Html(report.groups[g]) + "</td></tr>\n";
  }
  out += "</table>\n<h2>Rules (" + std::to_string(report.rules.size()) + ")</h2>\n";
  out += "<table>\n<tr><th>#</th><th>Zone</th><th>Event</th><th>Zone</th><th>Action</th></tr>\n";
  for (const auto& r : report.rules) {
    out += "<tr><td>" + std::to_string(r.number) + "</td><td>" + Html(r.activatorZone) + "</td><td>" + Html(r.event) +
           "</td><td>" + Html(r.executorZone) + "</td><td>" + Html(r.action) + "</td></tr>\n";
  }
  out += "</table>\n</body>\n</html>\n";
  return out;
}

}  // namespace zelor

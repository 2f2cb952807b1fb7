// The configuration report: the checked-in sample as text, JSON and HTML, and what a report
// must never let through (markup in names, counts beyond the tables).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "config/config_image.h"
#include "config/config_report.h"
#include "model/cp1251.h"

namespace zelor {
namespace {

ConfigModel Sample() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "golden" / "sample.bin";
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ConfigImage image{};
  EXPECT_EQ(bytes.size(), ImageSize);
  std::copy_n(bytes.begin(), std::min(bytes.size(), ImageSize), image.begin());
  ConfigModel m;
  EXPECT_TRUE(ParseImage(m, image).empty());
  return m;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

TEST(ConfigReport, TheSampleDeviceByDeviceZoneByZone) {
  const ConfigModel m = Sample();
  const ConfigReport r = BuildConfigReport(m);
  ASSERT_EQ(r.devices.size(), 10U);
  std::size_t zones = 0;
  for (std::size_t i = 0; i < r.devices.size(); ++i) {
    const NodeRecord& node = m.Nodes[i];
    EXPECT_EQ(r.devices[i].position, i + 1);
    EXPECT_EQ(r.devices[i].address, node.Address);
    EXPECT_EQ(r.devices[i].typeCode, node.Type);
    EXPECT_EQ(r.devices[i].zones.size(), node.ZoneCount);
    EXPECT_FALSE(r.devices[i].name.empty());
    zones += r.devices[i].zones.size();
  }
  EXPECT_EQ(zones, 31U);
  std::vector<unsigned> numbers;
  for (const auto& d : r.devices) {
    for (const auto& z : d.zones) numbers.push_back(z.number);
  }
  for (const unsigned n : {101U, 102U, 201U}) {
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), n), 1) << "the explicit number " << n;
  }
  EXPECT_EQ(r.groups.size(), std::size_t{kGroupCount});
  EXPECT_EQ(r.rules.size(), 8U);
  for (const auto& rule : r.rules) {
    EXPECT_FALSE(rule.activatorZone.empty());
    EXPECT_FALSE(rule.event.empty());
    EXPECT_FALSE(rule.action.empty());
  }
}

TEST(ConfigReport, TextJsonAndHtmlCarryTheSameEntries) {
  const ConfigReport r = BuildConfigReport(Sample());
  const std::string text = ReportText(r), json = ReportJson(r), html = ReportHtml(r);
  EXPECT_EQ(text.rfind("DEVICES (10)\n", 0), 0U);
  EXPECT_EQ(Count(text, "     zone "), 31U);
  EXPECT_EQ(Count(json, "\"number\": "), 31U + 8U);
  EXPECT_EQ(Count(json, "\"position\": "), 10U);
  EXPECT_EQ(Count(html, "<h3>"), 10U);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0U);
  EXPECT_NE(html.find("@media print"), std::string::npos);
  for (const auto& d : r.devices) {
    EXPECT_NE(text.find(d.name), std::string::npos) << d.name;
    EXPECT_NE(json.find(d.name), std::string::npos) << d.name;
  }
}

TEST(ConfigReport, NamesCannotBreakTheMarkupOrTheJson) {
  ConfigModel m;
  m.NodeCount = 1;
  m.Nodes[0].Type = 1;
  m.Nodes[0].Address = 7;
  m.Nodes[0].Name = Cp1251FromUtf8("<b>\"A&B\"\\</b>");
  m.Nodes[0].ZoneCount = 1;
  m.Nodes[0].Zones[0].Name = Cp1251FromUtf8("x<y");
  m.Nodes[0].Zones[0].Group = NoGroup;
  const ConfigReport r = BuildConfigReport(m);
  const std::string html = ReportHtml(r);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_NE(html.find("&lt;b&gt;&quot;A&amp;B&quot;\\&lt;/b&gt;"), std::string::npos);
  EXPECT_NE(html.find("x&lt;y"), std::string::npos);
  EXPECT_NE(ReportJson(r).find(R"("<b>\"A&B\"\\</b>")"), std::string::npos);
  EXPECT_EQ(r.devices[0].zones[0].group, "") << "no group";
}

TEST(ConfigReport, CountsBeyondTheTablesAreCut) {
  ConfigModel m;
  m.NodeCount = 200;
  m.RuleCount = 200;
  m.Nodes[0].ZoneCount = 99;
  const ConfigReport r = BuildConfigReport(m);
  EXPECT_EQ(r.devices.size(), std::size_t{kMaxNodes});
  EXPECT_EQ(r.devices[0].zones.size(), std::size_t{kMaxZonesPerNode});
  EXPECT_EQ(r.rules.size(), std::size_t{kMaxRules});
}

}  // namespace
}  // namespace zelor

#include "cli/cli_views.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <iostream>

namespace zelor::cli {

void KeptParameters::SetComboIndex(ParamCombo combo, int index) { combos[combo] = index; }

void KeptParameters::ShowComboText(ParamCombo combo, const std::string&) { combos.erase(combo); }

std::optional<int> KeptParameters::ComboIndex(ParamCombo combo) const {
  const auto it = combos.find(combo);
  if (it == combos.end()) return std::nullopt;
  return it->second;
}

int KeptParameters::SpinValue(ParamSpin spin) const {
  const auto it = spins.find(spin);
  return it == spins.end() ? 0 : it->second;
}

}  // namespace zelor::cli

namespace zelor::cli {

void PrintedMonitor::AddLine(const std::string& line) {
  ++printed;
  if (json_) {
    std::cout << "{\"line\": " << JsonString(line) << "}" << std::endl;
  } else {
    std::cout << line << std::endl;
  }
}

}  // namespace zelor::cli

namespace zelor::cli {

FileBytes FileTransfer::ReadFile(const std::string& path, std::size_t limit) {
  FileBytes result;
  // Only regular files are opened: a FIFO would block until something writes to it, a device may
  // never end, and a folder is no file.
  if (const QFileInfo info(QString::fromStdString(path)); info.exists() && !info.isFile()) {
    result.error = info.isDir() ? "Is a directory" : "Not a regular file";
    return result;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = file.errorString().toStdString();
    return result;
  }
  result.size = static_cast<unsigned long long>(std::max<qint64>(file.size(), 0));
  const QByteArray bytes = file.read(static_cast<qint64>(limit));
  if (file.error() != QFileDevice::NoError) {
    result.error = file.errorString().toStdString();
    return result;
  }
  result.bytes.assign(bytes.begin(), bytes.end());
  return result;
}

std::string FileTransfer::WriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  // Put in place only when every byte is written: a failed save leaves the file that was there.
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    std::string error = file.errorString().toStdString();
    file.cancelWriting();
    return error;
  }
  if (!file.commit()) return file.errorString().toStdString();
  written = path;
  return {};
}

}  // namespace zelor::cli

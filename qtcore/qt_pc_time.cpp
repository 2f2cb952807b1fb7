#include "qtcore/qt_pc_time.h"

#include <QDateTime>
#include <QLocale>

namespace zelor {

namespace {
// The system's long time format without a time-zone field, which the formats of the panel's
// home system do not have ("14:05:07", not "14:05:07 UTC").
QString LongTimeFormat() {
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.trimmed();
}
}  // namespace

CivilTime PcLocalTime() {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().year(), now.date().month(), now.date().day(),
          now.time().hour(), now.time().minute(), now.time().second()};
}

PcDateTexts PcArchiveDateTexts() {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  return {locale.toString(now.time(), LongTimeFormat()).toStdString(),
          locale.toString(now.date(), QLocale::ShortFormat).toStdString()};
}

}  // namespace zelor

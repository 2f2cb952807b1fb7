#include "app/qt_accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <limits>

namespace zelor {

namespace {

// Marks the widget that presents itself as the application's window.
constexpr const char* kWindowProperty = "zelorApplicationWindow";

// Controls without a caption of their own (or with a caption that says nothing, like "-->"),
// by object name. "%1" takes the text of the label beside the control.
struct Purpose {
  const char* objectName;
  const char* name;
};
constexpr Purpose kPurposes[] = {
    {"TeMenuBar1", "Главное меню"},
    {"TePageControl1", "Вкладки"},
    {"TeMemo1", "Журнал обмена с прибором"},
    {"TeMemo2", "Журнал передачи конфигурации"},
    {"TeMemo3", "Монитор событий прибора"},
    {"StatusBar1", "Строка состояния"},
    {"TeProgressBar1", "Ход операции"},
    {"TeProgressBar2", "Ход чтения архива"},
    {"FileGrid", "Архив событий"},
    {"NodesGrid", "Приборы"},
    {"ZoneGrid", "Зоны прибора"},
    {"GroupGrid", "Группы зон"},
    {"AutoGrid", "Правила автоматики"},
    {"AutoNodeGrid", "Приборы для правила"},
    {"AutoZoneGrid", "Зоны для правила"},
    {"EventBox", "Событие или действие правила"},
    {"NameEdit", "Название"},
    {"AddrEdit", "Адрес прибора в конфигурации"},
    {"TypeBox", "Тип прибора"},
    {"TeSComboBox8", "Скорость передачи внутреннего интерфейса"},
    {"TeSComboBox1", "Скорость передачи внешнего интерфейса"},
    {"TeSpinEdit1", "Адрес прибора"},
    {"TeSpinEdit2", "Новый адрес прибора"},
    {"AddrC_Butt", "Записать новый адрес прибора"},
    {"TeScrollBar1", "Контраст ЖКИ"},
    {"TeScrollBar2", "Громкость звука"},
    {"TeScrollBar3", "Коррекция хода часов"},
    {"UpAuto_Butt", "Сдвинуть вверх"},
    {"DownAuto_Butt", "Сдвинуть вниз"},
    {"FR_1_RButton", "ПОЖАР, длительность: %1"},
    {"FR_2_RButton", "ПОЖАР, длительность: %1"},
    {"FR_3_RButton", "ПОЖАР, режим: %1"},
    {"FR_4_RButton", "ПОЖАР, режим: %1"},
    {"FR_5_RButton", "ПОЖАР, режим: %1"},
    {"AL_1_RButton", "ТРЕВОГА, длительность: %1"},
    {"AL_2_RButton", "ТРЕВОГА, длительность: %1"},
    {"AL_3_RButton", "ТРЕВОГА, режим: %1"},
    {"AL_4_RButton", "ТРЕВОГА, режим: %1"},
    {"AL_5_RButton", "ТРЕВОГА, режим: %1"},
};

bool IsControl(const QWidget& w) {
  return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QComboBox*>(&w) ||
         qobject_cast<const QAbstractSpinBox*>(&w) || qobject_cast<const QAbstractSlider*>(&w) ||
         qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QAbstractItemView*>(&w) ||
         qobject_cast<const QPlainTextEdit*>(&w) || qobject_cast<const QTextEdit*>(&w) ||
         qobject_cast<const QProgressBar*>(&w) || qobject_cast<const QTabWidget*>(&w) ||
         qobject_cast<const QMenuBar*>(&w);
}

// Parts that Qt builds inside a control (a spin box's editor, the scroll bars of a grid or a
// memo, a grid's headers, a tab bar's scroll buttons) are announced with the control itself.
// Qt names such parts qt_*, but only the widget's own name counts: the window's controls all
// sit in a scroll area's viewport, which is named so too.
bool IsPartOfAnotherControl(const QWidget& w) {
  if (w.objectName().startsWith(QLatin1String("qt_"))) return true;
  const QWidget* parent = w.parentWidget();
  if (qobject_cast<const QScrollBar*>(&w) != nullptr && parent != nullptr &&
      parent->objectName().startsWith(QLatin1String("qt_scrollarea_"))) {
    return true;
  }
  for (const QWidget* p = parent; p != nullptr; p = p->parentWidget()) {
    if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
        qobject_cast<const QTabBar*>(p) || qobject_cast<const QAbstractItemView*>(p)) {
      return true;
    }
  }
  return false;
}

// The label that captions a control by where it stands: on the control's line to its left, or
// just above it, in the same parent; the nearest one wins.
QLabel* LabelBeside(const QWidget& control) {
  QWidget* parent = control.parentWidget();
  if (parent == nullptr) return nullptr;
  const QRect c = control.geometry();
  QLabel* best = nullptr;
  int bestDistance = std::numeric_limits<int>::max();
  for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->text().trimmed().isEmpty()) continue;
    const QRect l = label->geometry();
    const int lineCentre = l.center().y();
    int distance = std::numeric_limits<int>::max();
    if (lineCentre >= c.top() && lineCentre <= c.bottom() && l.right() <= c.left() + 2) {
      distance = c.left() - l.right();
    } else if (l.bottom() <= c.top() + 2 && c.top() - l.bottom() <= 24 && l.left() <= c.right() &&
               l.right() >= c.left() && l.left() >= c.left() - 24) {
      distance = c.top() - l.bottom();
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = label;
    }
  }
  return best;
}

QString LabelText(const QWidget& control) {
  const QLabel* label = LabelBeside(control);
  return label != nullptr ? label->text().remove('&').trimmed() : QString();
}

// The top-level widget reports the role of a window (the default for a plain widget is a
// client area, which screen readers present as a filler) and the caption as its name.
QAccessibleInterface* WindowInterface(const QString& key, QObject* object) {
  if (object == nullptr || !object->isWidgetType() || !object->property(kWindowProperty).toBool()) return nullptr;
  if (key != QLatin1String(object->metaObject()->className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

void NameControl(QWidget& w) {
  if (!w.accessibleName().isEmpty() || IsPartOfAnotherControl(w)) return;
  QString name = AccessiblePurpose(w);
  if (name.isEmpty()) {
    // A captioned button keeps no fixed name: Qt reads its caption, which may change.
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w); b != nullptr && !b->text().isEmpty()) return;
    name = w.toolTip();
  }
  if (name.isEmpty()) name = LabelText(w);
  if (!name.isEmpty()) w.setAccessibleName(name);
  // The label beside it becomes its buddy, which assistive technology reads as "labelled by".
  // On Linux Qt reports a combo box's current item as its name, so for those the relation is
  // what carries the label to the screen reader.
  QLabel* label = LabelBeside(w);
  if (label != nullptr && label->buddy() == nullptr && qobject_cast<const QAbstractButton*>(&w) == nullptr) {
    label->setBuddy(&w);
  }
}

}  // namespace

QString AccessiblePurpose(const QWidget& control) {
  for (const Purpose& p : kPurposes) {
    if (control.objectName() != QLatin1String(p.objectName)) continue;
    const QString name = QString::fromUtf8(p.name);
    return name.contains("%1") ? name.arg(LabelText(control)) : name;
  }
  return {};
}

void MakeAccessible(QWidget& window) {
  window.setProperty(kWindowProperty, true);
  QAccessible::installFactory(WindowInterface);  // installing it again changes nothing
  for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
    for (int i = 0; i < tabs->count(); ++i) {
      QWidget* page = tabs->widget(i);
      if (page->accessibleName().isEmpty()) page->setAccessibleName(tabs->tabText(i).remove('&'));
    }
  }
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (IsControl(*w) || !AccessiblePurpose(*w).isEmpty()) NameControl(*w);
  }
}

}  // namespace zelor

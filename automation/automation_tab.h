// The "КОНФИГ.-4" tab (TeTabSheet4): the rule grid, the two zone pickers, the code list and the
// four rule buttons, and their handlers, which call the rule model and the editor's rules.
#pragma once
#include <QToolButton>
#include <QWidget>

#include "automation/rule_editor.h"
#include "automation/rule_grid_view.h"
#include "model/config_model.h"
#include "widgets/qt_string_grid.h"

namespace zelor {

// Also the rule part of the model's ConfigViews: the core's fix-ups, reads and builds refresh it.
class AutomationTab : public QWidget, public ConfigViews {
  Q_OBJECT
 public:
  explicit AutomationTab(ConfigModel& model, QWidget* parent = nullptr);

  // FormActivate: headings and widths of the three grids; AutoZoneGrid 30 pixels right of AutoNodeGrid.
  void SetUpGrids();

  // Rewrites the rule list from the model and selects rule s; any zone picking or open code
  // list ends with it. The core reaches it through ConfigViews::RefreshAutoGrid.
  void RefreshAutoGrid(uint8_t s) override;
  // Hides AutoNodeGrid, AutoZoneGrid and EventBox (ConfigViews::HideRulePickers).
  void HideRulePickers() override;
  // What the node list's fix-ups end with: pickers and list hidden, rule 0 selected. For changes
  // on "КОНФИГ.-3" that reach the rules without a fix-up (a zone's kind, a node's address).
  void RefreshAfterNodeChange();
  void NodesChanged() override { RefreshAfterNodeChange(); }

  void FillNodePicker(uint8_t p);
  void FillZonePicker(uint8_t q);

  void AddAuto_ButtClick();
  void DelAuto_ButtClick();
  void UpAuto_ButtClick();
  void DownAuto_ButtClick();
  void AutoGridSelectCell(int column, int row);
  void AutoGridDblClick();
  void AutoGridKeyPress(int key);
  void AutoNodeGridSelectCell(int column, int row);
  void AutoNodeGridDblClick();
  void AutoNodeGridKeyPress(int key);
  void AutoZoneGridSelectCell(int column, int row);
  void AutoZoneGridDblClick();
  void AutoZoneGridKeyPress(int key);
  void EventBoxCloseUp();

  // The first visible data row (1-based), as the grids count it.
  static int TopRow(const StringGrid& grid);
  static void SetTopRow(StringGrid& grid, int row);

  RuleEditorState Editor;

  StringGrid* AutoGrid;
  StringGrid* AutoNodeGrid;
  StringGrid* AutoZoneGrid;
  ChoiceBox* EventBox;
  QToolButton* AddAuto_Butt;
  QToolButton* DelAuto_Butt;
  QToolButton* UpAuto_Butt;
  QToolButton* DownAuto_Butt;
  RuleGridDelegate* AutoGridDrawCell;
  RuleGridDelegate* AutoNodeGridDrawCell;
  RuleGridDelegate* AutoZoneGridDrawCell;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void StartPicking(uint16_t zoneIndex);
  void OpenChoice(Side side);
  void AssignPicked();
  void CancelPicking();
  void FillRuleRow(int row, uint8_t rule);
  void SelectRow(StringGrid& grid, int row);

  ConfigModel& model_;
  bool filling_ = false;  // the grids are being rewritten: their selection signals are not the user's
};

}  // namespace zelor

// The configuration editor over the "КОНФИГ.-3" tab: fills and draws NodesGrid, ZoneGrid and the
// group chooser, runs Add_Box and the delete and move buttons, opens and commits the in-place
// editors, and is the model's ConfigViews (rule refreshes go on to the automation tab's views).
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/editor_state.h"
#include "link/clock.h"
#include "link/surfaces.h"
#include "model/config_model.h"

namespace zelor {

class AddBoxView;
class ConfigTab;
class StringGrid;

class ConfigEditorView : public QObject, public ConfigViews {
  Q_OBJECT
 public:
  // TimerX1 is the window's; the editor takes its handler. The clock times the clicks of the tool
  // bar; `log` is where an edit that costs a rule something says so.
  ConfigEditorView(ConfigTab& tab, AddBoxView& addBox, ConfigModel& model, Timer& timerX1, const Clock& clock,
                   LinkSurfaces log, QObject* parent);

  // The question before a device is deleted with rules: Yes (true) or No. A modal Yes/No warning
  // unless a test answers it.
  std::function<bool(const QString& question)> deleteQuestion;

  // Where RefreshAutoGrid, HideRulePickers and NodesChanged go on to (the automation tab); may be null.
  void SetRuleViews(ConfigViews* views) { ruleViews_ = views; }

  // ConfigViews
  void RefreshNodesGrid() override;
  void RefreshZoneGrid() override;
  void HideGroupChooser() override;
  void RefreshAutoGrid(uint8_t selected) override;
  void HideRulePickers() override;
  void NodesChanged() override;

  // The window's handlers; rows and columns as the grids count them (row 0 the heading).
  void TeTabSheet12Show();
  void TeTabSheet12Hide();
  void Add_Butt_00Click();
  void AddButtonClick(uint8_t type);  // ADD_Butt_01Click .. ADD_Butt_21Click
  void Del_ButtClick();
  void Up_ButtClick();
  void Down_ButtClick();
  void NodesGridSelectCell(int column, int row);
  void NodesGridDblClick();
  void NodesGridTopLeftChanged();
  void ZoneGridSelectCell(int column, int row);
  void ZoneGridDblClick();
  void AddrEditChange();
  void AddrEditKeyDown(int key);
  void NameEditKeyDown(int key);
  void TypeBoxClick(int item);
  void TimerX1Timer();
  void ShowGroupChooser();
  void GroupGridSelectCell(int column, int row);
  void GroupGridDblClick();
  void EditGroupName();

  const EditorState& State() const { return state_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void SelectRow(StringGrid* grid, int row);
  void CloseEditors();
  void OpenNameEditor(StringGrid* grid, int column, int row, int maxLength, const QString& text);
  void OpenSpinEditor(StringGrid* grid, int column, int row, int value, int minimum, int maximum, SpinEditMode mode);
  void CommitNodeAddress();
  // The typed value of AddrEdit is committed (as on Enter) and the editor hidden; without
  // `commit`, hidden only.
  void CloseAddrEdit(bool commit);
  // TeMemo1 shown with these lines in place of the device panel (Add_Butt_00 brings it back).
  void ShowLog(const std::vector<std::string>& lines);
  bool AskDelete(const QString& question);
  void FlashClickedCell();
  void RedrawZoneCell(int column, int row);
  void ShowZoneRow(int row);
  QRect CellRect(StringGrid* grid, int column, int row) const;

  ConfigTab& tab_;
  AddBoxView& addBox_;
  ConfigModel& model_;
  Timer& timerX1_;
  const Clock& clock_;
  LinkSurfaces log_;
  std::optional<int64_t> addButtonClickedAt_;  // micros of the last Add_Butt_00 click
  ConfigViews* ruleViews_ = nullptr;
  EditorState state_;
  bool filling_ = false;  // the grids' own selection events are ignored while they are refilled
};

}  // namespace zelor

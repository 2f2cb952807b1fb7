// The "ПРОГ.-2" tab (TeTabSheet3): the panel's parameter controls in their initial state.
#pragma once
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace zelor {

class ParametersTab : public QWidget {
  Q_OBJECT
 public:
  explicit ParametersTab(QWidget* parent = nullptr);

  // TeLabel5 := "Адрес прибора - " + the address in three digits.
  void ShowDeviceAddress(uint8_t address);
  // TeSpinEdit1KeyPress with Enter: the window applies the field's value.
  std::function<void(int)> onAddressEntered;

  QGroupBox* TeGroupBox5;
  QComboBox* TeSComboBox8;
  QScrollBar* TeScrollBar4;
  QLabel* TeLabel9;

  QGroupBox* TeGroupBox2;
  QComboBox* TeSComboBox1;
  QLabel* TeLabel5;
  QSpinBox* TeSpinEdit1;
  QPushButton* AddrC_Butt;
  QSpinBox* TeSpinEdit2;

  QGroupBox* TeGroupBox4;
  QComboBox* TeSComboBox2;  // day
  QComboBox* TeSComboBox3;  // month
  QComboBox* TeSComboBox4;  // year
  QComboBox* TeSComboBox5;  // hour
  QComboBox* TeSComboBox6;  // minute
  QComboBox* TeSComboBox7;  // second
  QLabel* Label2;
  QPushButton* TimeSet_Butt;
  QScrollBar* TeScrollBar3;
  QLabel* Label1;

  QGroupBox* TeGroupBox6;
  QRadioButton* FR_1_RButton;
  QRadioButton* FR_2_RButton;
  QRadioButton* FR_3_RButton;
  QRadioButton* FR_4_RButton;
  QRadioButton* FR_5_RButton;
  QRadioButton* AL_1_RButton;
  QRadioButton* AL_2_RButton;
  QRadioButton* AL_3_RButton;
  QRadioButton* AL_4_RButton;
  QRadioButton* AL_5_RButton;

  QGroupBox* TeGroupBox10;
  QScrollBar* TeScrollBar1;
  QGroupBox* TeGroupBox3;
  QScrollBar* TeScrollBar2;
  QPushButton* QueryA_Butt;

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildInternalInterface();
  void BuildExternalInterface();
  void BuildDateTime();
  void BuildOutputLogic();
  void BuildContrastAndVolume();
  void PlaceOutputColumns();
};

}  // namespace zelor

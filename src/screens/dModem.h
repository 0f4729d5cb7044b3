#pragma once

#include "screens/Screen.h"

class QComboBox;
class QPushButton;
class QRadioButton;

// Chooses the modem model and the configuration mode, then opens the data screen of
// that mode. It stays loaded (hidden) while the data screen is open, so the data
// screen can come back to it with the last choice still in place.
class dModem final : public Screen {
  Q_OBJECT

 public:
  explicit dModem(QWidget* parent = nullptr);
  ~dModem() override;

  QComboBox* Combo1 = nullptr;
  QRadioButton* oDhcp = nullptr;
  QRadioButton* oNAT = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void Combo1_Click(int index);
  void OKButton_Click();
};

#pragma once

#include "screens/Screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int kPasswordLengthLimit = 14;

// A password box takes only what claves.dat can hold and a modem can be sent as one
// line: printable Windows-1252 characters, no line breaks or other controls.
[[nodiscard]] bool IsStorablePassword(const QString& text);

// Changes the access password that the loading sessions use with the modems.
class fClave final : public Screen {
  Q_OBJECT

 public:
  explicit fClave(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QLineEdit* tClave = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* tConfirmar = nullptr;
  QPushButton* cSalvar = nullptr;
  QPushButton* cVolver = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void tClave_GotFocus();
  void tConfirmar_GotFocus();
  void cSalvar_Click();
  void ReturnToPassword();
};

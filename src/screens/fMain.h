#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The main menu: the first window and the hub every screen returns to.
class fMain final : public QWidget {
  Q_OBJECT

 public:
  explicit fMain(QWidget* parent = nullptr);
  ~fMain() override;

  // The one main menu, created on demand, shown again.
  static void ShowMenu();
  [[nodiscard]] static fMain* Instance();

  QPushButton* cClave = nullptr;
  QPushButton* cServicio = nullptr;
  QPushButton* cIntroDatos = nullptr;
  QPushButton* cCargar = nullptr;
  QPushButton* cSalir = nullptr;
  QLabel* lCarpeta = nullptr;  // the folder in use

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load();
  void cClave_Click();
  void cServicio_Click();
  void cIntroDatos_Click();
  void cCargar_Click();
  void cSalir_Click();
};

#pragma once

#include <QWidget>

#include <functional>

#include "platform/SerialAdapters.h"

class QLabel;
class QListWidget;
class QPushButton;

// The serial adapters present now, beside the port selector: choosing one links the
// selected Com N to it (puertos/comN), so no terminal is needed to map a USB adapter.
class AdapterList final : public QWidget {
  Q_OBJECT

 public:
  // selectedPort gives the Com number the chosen adapter goes to.
  AdapterList(std::function<int()> selectedPort, QWidget* parent = nullptr);

  // Looks for adapters again.
  void Refresh();
  // Links the selected Com to the highlighted adapter; false when nothing was linked.
  bool MapSelected();

  // Where the list looks; tests point it at fake folders.
  static platform::AdapterScan& Scan();

  QListWidget* lstAdaptadores = nullptr;
  QPushButton* cAsignar = nullptr;
  QPushButton* cActualizar = nullptr;
  QLabel* lPermiso = nullptr;  // shown when the user may not open serial devices

 signals:
  void PortMapped(int number);

 private:
  std::function<int()> selectedPort_;
};

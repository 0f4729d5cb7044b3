#pragma once

#include "screens/Screen.h"

// Stands in for a screen that is not built yet.
class PlaceholderScreen final : public Screen {
  Q_OBJECT

 public:
  explicit PlaceholderScreen(const QString& caption, QWidget* parent = nullptr);
};

#pragma once

#include "screens/Screen.h"

class fClave final : public Screen {
  Q_OBJECT

 public:
  explicit fClave(QWidget* parent = nullptr);
};

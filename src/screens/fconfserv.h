#pragma once

#include "screens/Screen.h"

class fconfserv final : public Screen {
  Q_OBJECT

 public:
  explicit fconfserv(QWidget* parent = nullptr);
};

#pragma once

#include <QString>

#include <utility>

namespace platform {

// Where the program keeps conf_gen.dat, claves.dat, Configuraciones and Logs.
class AppDirectory {
 public:
  virtual ~AppDirectory() = default;
  [[nodiscard]] virtual QString Path() = 0;
};

// The folder of the executable when it is writable and not a system folder such as
// /usr/bin (a portable folder), otherwise the per-user data folder
// ~/.local/share/configurador-adsl, created on demand.
class DesktopAppDirectory final : public AppDirectory {
 public:
  [[nodiscard]] QString Path() override;

 private:
  QString cached_;
};

// A fixed folder; tests point it at a temporary directory.
class FixedAppDirectory final : public AppDirectory {
 public:
  explicit FixedAppDirectory(QString path) : path_(std::move(path)) {}
  [[nodiscard]] QString Path() override { return path_; }

 private:
  QString path_;
};

}  // namespace platform

#pragma once

#include <QString>

#include <utility>

namespace platform {

// Where the program keeps conf_gen.dat, claves.dat, Configuraciones and Logs.
class AppDirectory {
 public:
  virtual ~AppDirectory() = default;
  [[nodiscard]] virtual QString Path() = 0;
  // What the installer must hear once at start-up about the folder in use (it is not
  // the one that holds the installer's files, or nothing can be written); empty when
  // there is nothing to say. Given once.
  [[nodiscard]] virtual QString TakeStartupNotice() { return {}; }
  // False when the folder in use cannot be written either.
  [[nodiscard]] virtual bool Writable() { return true; }
};

// The folder of the executable when it can be written and is not a system folder
// such as /usr/bin (a portable folder), otherwise the per-user data folder
// ~/.local/share/configurador-adsl, created on demand.
class DesktopAppDirectory final : public AppDirectory {
 public:
  DesktopAppDirectory() = default;
  // Given folders instead of the executable's and the per-user one.
  DesktopAppDirectory(QString beside, QString perUser)
      : beside_(std::move(beside)), perUser_(std::move(perUser)) {}

  [[nodiscard]] QString Path() override;
  [[nodiscard]] QString TakeStartupNotice() override;
  [[nodiscard]] bool Writable() override;

 private:
  void Choose();

  QString beside_;
  QString perUser_;
  QString cached_;
  QString notice_;
  bool writable_ = true;
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

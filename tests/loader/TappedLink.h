#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

#include "modemsim/SimulatedLink.h"
#include "platform/SerialLink.h"

namespace loader_testing {

// The simulated link with hooks on what the program reads and writes, for tests that
// break the line, or change the modem, at an exact point of the dialogue.
class TappedLink final : public platform::SerialLink {
 public:
  explicit TappedLink(std::unique_ptr<modemsim::SimulatedLink> inner) : inner_(std::move(inner)) {}

  // Bytes the program has just read (never empty) or queued for sending.
  std::function<void(const QByteArray&)> afterRead;
  std::function<void(const QByteArray&)> afterWrite;

  [[nodiscard]] bool SetPortNumber(int number, QString* error) override {
    return inner_->SetPortNumber(number, error);
  }
  [[nodiscard]] bool SetLineSettings(const platform::LineSettings& settings, QString* error) override {
    return inner_->SetLineSettings(settings, error);
  }
  [[nodiscard]] bool SetInputLength(int length, QString* error) override {
    return inner_->SetInputLength(length, error);
  }
  [[nodiscard]] bool Open(QString* error) override { return inner_->Open(error); }
  void Close() override { inner_->Close(); }
  [[nodiscard]] bool IsOpen() const override { return inner_->IsOpen(); }
  [[nodiscard]] bool Write(const QByteArray& bytes, QString* error) override {
    if (!inner_->Write(bytes, error)) return false;
    if (afterWrite) afterWrite(bytes);
    return true;
  }
  [[nodiscard]] bool ReadAll(QByteArray* bytes, QString* error) override {
    if (!inner_->ReadAll(bytes, error)) return false;
    if (afterRead && !bytes->isEmpty()) afterRead(*bytes);
    return true;
  }
  [[nodiscard]] qint64 TransmitCount() const override { return inner_->TransmitCount(); }
  [[nodiscard]] QString TakeFailure() override { return inner_->TakeFailure(); }

 private:
  std::unique_ptr<modemsim::SimulatedLink> inner_;
};

}  // namespace loader_testing

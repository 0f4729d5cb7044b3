#include "screens/UserGuide.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#include "platform/Platform.h"

namespace {

constexpr const char* kInstalledFolder = "/usr/share/doc/configurador-adsl";

// One filter on the application sees the key before any window does.
class HelpKeyFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->isAutoRepeat()) return false;
    OpenUserGuide();
    return true;
  }
};

}  // namespace

QStringList UserGuideCandidates() {
  const QDir exe(QCoreApplication::applicationDirPath());
  QStringList folders{exe.filePath(QStringLiteral("doc")),
                      QDir::cleanPath(exe.filePath(QStringLiteral("../share/doc/configurador-adsl"))),
                      QString::fromLatin1(kInstalledFolder)};
  folders.removeDuplicates();
  QStringList candidates;
  // The HTML rendering shows the pictures in any browser; the Markdown is the fallback.
  for (const QString& folder : folders) {
    candidates << QDir(folder).filePath(QStringLiteral("guia-de-uso.html"))
               << QDir(folder).filePath(QStringLiteral("guia-de-uso.md"));
  }
  return candidates;
}

QString FindUserGuide(const QStringList& candidates) {
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

QStringList& GuideCandidates() {
  static QStringList candidates = UserGuideCandidates();
  return candidates;
}

std::function<bool(const QUrl&)>& UrlOpener() {
  static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

void OpenUserGuide() {
  const QString guide = FindUserGuide(GuideCandidates());
  if (guide.isEmpty()) {
    platform::ShowMessage(
        QStringLiteral("No se ha encontrado la guía de uso. Con el programa instalado debería estar en "
                       "%1/guia-de-uso.html; con una copia portátil, en la carpeta doc junto al programa.")
            .arg(QString::fromLatin1(kInstalledFolder)),
        QString::fromUtf8(kGuideTitle), platform::MsgIcon::Exclamation);
    return;
  }
  if (!UrlOpener()(QUrl::fromLocalFile(guide))) {
    platform::ShowMessage(QStringLiteral("No se ha podido abrir la guía de uso %1 con el visor del escritorio. "
                                         "Ábrala con un navegador.").arg(guide),
                          QString::fromUtf8(kGuideTitle), platform::MsgIcon::Exclamation);
  }
}

void InstallHelpKey() {
  static HelpKeyFilter* filter = nullptr;
  if (filter || !qApp) return;
  filter = new HelpKeyFilter(qApp);
  qApp->installEventFilter(filter);
}

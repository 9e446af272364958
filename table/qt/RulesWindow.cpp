#include "table/qt/RulesWindow.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

#include "table/Rules.h"

namespace zn {

void ShowRulesWindow(QWidget* parent) {
  static QPointer<QWidget> window;
  if (!window) {
    window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("RulesWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Játékszabályok"));
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("Rules"));
    QFile file(QStringLiteral(":/zn/rules.md"));
    const QByteArray markdown = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    text->setMarkdown(QString::fromStdString(HungarianRules(markdown.toStdString())));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    window->resize(640, 560);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace zn

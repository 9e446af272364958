// The rules window: the shipped document's Hungarian part, readable with no browser or network.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>

#include "table/qt/RulesWindow.h"

namespace zn::test {
namespace {

TEST(RulesWindow, ShowsTheHungarianRulesOnce) {
  ShowRulesWindow(nullptr);
  ShowRulesWindow(nullptr);  // brought up again, not made twice
  QWidget* window = nullptr;
  int windows = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("RulesWindow") && w->isVisible()) window = w, ++windows;
  ASSERT_EQ(windows, 1);
  const QString text = window->findChild<QTextBrowser*>(QStringLiteral("Rules"))->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Egy osztás menete"))) << text.left(200).toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("How a deal runs")));
  window->close();
}

}  // namespace
}  // namespace zn::test

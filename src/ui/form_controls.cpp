#include "ui/form_controls.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMouseEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTranslator>

namespace kelmar::ui {

void MouseUpRadioButton::mouseReleaseEvent(QMouseEvent* e) {
  QRadioButton::mouseReleaseEvent(e);  // the selection changes first, as the handler expects
  if (on_mouse_up && rect().contains(e->position().toPoint())) on_mouse_up();
}

bool InstallQtTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

TabControl::TabControl(QWidget* parent, const QFont& font) : QWidget(parent), tabs_(new QTabBar(this)) {
  setFont(font);  // before the tabs: each tab is measured as it is added
  tabs_->setObjectName(QStringLiteral("TabControl1Tabs"));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  tabs_->addTab(QStringLiteral("Солнце"));
  tabs_->addTab(QStringLiteral("Спутники"));
  tabs_->addTab(QStringLiteral("Интерференция"));
  tabs_->setCurrentIndex(0);
  tabs_->setFocusPolicy(Qt::StrongFocus);  // a click on a tab takes the focus, as on Windows
  setFocusProxy(tabs_);
}

int TabControl::TabIndex() const { return tabs_->currentIndex(); }

void TabControl::resizeEvent(QResizeEvent*) {
  tabs_->setGeometry(0, 0, width(), tabs_->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionTabWidgetFrame opt;
  opt.initFrom(this);
  opt.rect = QRect(0, tabs_->height() - 1, width(), height() - tabs_->height() + 1);
  opt.shape = QTabBar::RoundedNorth;
  opt.tabBarSize = tabs_->sizeHint();
  p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
}

}  // namespace kelmar::ui

#include "ui/picture_tabs.h"

#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <limits>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/number_text.h"
#include "core/outage.h"
#include "core/observer.h"
#include "core/sat_table.h"
#include "core/sun_align.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "settings/horizon_profile.h"

namespace kelmar::ui {

PictureView::PictureView(QWidget* parent, pictures::Painting paint, Tooltip tooltip)
    : QWidget(parent), paint_(std::move(paint)), tooltip_(std::move(tooltip)) {
  setMouseTracking(true);
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paint_(p, QSizeF(size()));
}

bool PictureView::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip && tooltip_) {
    auto* help = static_cast<QHelpEvent*>(e);
    const QString text = tooltip_(QSizeF(size()), help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(e);
}

PictureTabs::PictureTabs(QWidget* form, QTabBar* tabs, QWidget* page_parent, const ErrorReporter& report,
                         std::function<PictureContext()> context)
    : form_(form), tabs_(tabs), report_(report), context_(std::move(context)) {
  sky_tab_ = tabs->addTab(QStringLiteral("Небо"));
  year_tab_ = tabs->addTab(QStringLiteral("Год"));
  page_parent_ = page_parent;
}

// The pages are made when a picture tab is first shown, so that the window's start pays nothing
// for them.
void PictureTabs::Build() {
  QWidget* const page_parent = page_parent_;
  QWidget* const form = form_;
  SkyPage = new QWidget(page_parent);
  SkyPage->setObjectName(QStringLiteral("SkyPage"));
  SkyView = new PictureView(
      SkyPage, [this](QPainter& p, QSizeF size) { pictures::DrawSky(p, size, sky_); },
      [this](QSizeF size, QPointF at) { return pictures::SkyTooltip(sky_, size, at); });
  SkyView->setObjectName(QStringLiteral("SkyView"));
  EditSkyDate = new QDateEdit(SkyPage);
  EditSkyDate->setObjectName(QStringLiteral("EditSkyDate"));
  EditSkyDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  EditSkyDate->setCalendarPopup(true);
  EditHorizon = new QLineEdit(SkyPage);
  EditHorizon->setObjectName(QStringLiteral("EditHorizon"));
  // A mask may have thousands of points (a measured skyline): never cut at the default 32767.
  EditHorizon->setMaxLength(std::numeric_limits<int>::max());
  EditHorizon->setToolTip(QStringLiteral("Азимут:высота через пробел, например 90:5 150:25 210:25 270:3"));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Дата"), SkyPage));
  row->addWidget(EditSkyDate);
  row->addSpacing(8);
  row->addWidget(new QLabel(QStringLiteral("Горизонт"), SkyPage));
  row->addWidget(EditHorizon, 1);
  ButtonHorizonFile = new QPushButton(QStringLiteral("Загрузить…"), SkyPage);
  ButtonHorizonFile->setObjectName(QStringLiteral("ButtonHorizonFile"));
  ButtonHorizonFile->setToolTip(QStringLiteral("Профиль горизонта из файла PVGIS (CSV, JSON) или строк \"азимут высота\""));
  row->addWidget(ButtonHorizonFile);
  auto* column = new QVBoxLayout(SkyPage);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(SkyView, 1);
  column->addLayout(row);

  YearView = new PictureView(page_parent, [this](QPainter& p, QSizeF size) { pictures::DrawYear(p, size, year_); });
  YearView->setObjectName(QStringLiteral("YearView"));

  ButtonSave = new QPushButton(QString::fromUtf8(kSaveCaption), form);
  ButtonSave->setObjectName(QStringLiteral("ButtonSave"));
  ButtonSave->setToolTip(QStringLiteral("Сохранить рисунок в PNG или SVG"));

  QObject::connect(EditHorizon, &QLineEdit::editingFinished, form, [this] { report_.Guarded([this] { EditHorizonExit(); }); });
  QObject::connect(EditSkyDate, &QDateEdit::dateChanged, form, [this] {
    if (on_date_changed) on_date_changed();
    report_.Guarded([this] { Rebuild(); });
  });
  QObject::connect(ButtonHorizonFile, &QPushButton::clicked, form, [this] { report_.Guarded([this] { ButtonHorizonFileClick(); }); });
  QObject::connect(ButtonSave, &QPushButton::clicked, form, [this] { report_.Guarded([this] { ButtonSaveClick(); }); });
  SkyPage->setGeometry(page_);
  YearView->setGeometry(page_);
  ButtonSave->setGeometry(button_);
  ButtonSave->setFont(button_font_);
}

void PictureTabs::SetGeometry(const QRect& page, const QRect& button) {
  page_ = page;
  button_ = button;
  if (!SkyPage) return;
  SkyPage->setGeometry(page);
  YearView->setGeometry(page);
  ButtonSave->setGeometry(button);
}

void PictureTabs::SetButtonFont(const QFont& font) {
  button_font_ = font;
  if (ButtonSave) ButtonSave->setFont(font);
}

void PictureTabs::Show(int tab) {
  shown_ = tab;
  if (!SkyPage) {
    if (!IsPictureTab(tab)) return;
    Build();
  }
  SkyPage->setVisible(tab == sky_tab_);
  YearView->setVisible(tab == year_tab_);
  ButtonSave->setVisible(IsPictureTab(tab));
  if (IsPictureTab(tab)) Rebuild();
}

void PictureTabs::Refresh() {
  if (IsPictureTab(shown_)) Rebuild();
}

void PictureTabs::SyncDate(const PictureContext& c) {
  if (c.year != date_year_ || c.month != date_month_) {
    date_year_ = c.year;
    date_month_ = c.month;
    const QSignalBlocker block(EditSkyDate);
    EditSkyDate->setDate(QDate(c.year, c.month, 1));
  }
}

QDate PictureTabs::SkyDate() {
  const PictureContext c = context_();
  // Before the sky tab is first shown nobody can have picked a day: the month's first.
  if (!EditSkyDate) return QDate(c.year, c.month, 1);
  SyncDate(c);
  return EditSkyDate->date();
}

Horizon PictureTabs::PlaceHorizon(const std::string& place) const {
  try {
    return Horizon::Parse(HorizonOf(horizons_, place));
  } catch (const CalcError&) {
    return Horizon();  // the sky tab says what is wrong with it
  }
}

void PictureTabs::Rebuild() {
  const PictureContext c = context_();
  // The field shows the selected place's mask; the date follows the scroll bars' month.
  if (c.place != horizon_place_) {
    horizon_place_ = c.place;
    EditHorizon->setText(QString::fromStdString(HorizonOf(horizons_, c.place)));
  }
  SyncDate(c);
  if (c.place.empty()) return;  // nothing to draw for, as the tables stay empty
  const std::string zone = ZoneText(c.fields);
  if (shown_ == sky_tab_) {
    const QDate d = EditSkyDate->date();
    // The Sun's current place shows when the date is today in the zone of the window.
    const std::optional<double> now_hours =
        NowHoursOn(c.fields, {d.year(), d.month(), d.day()}, c.now.toMSecsSinceEpoch());
    sky_ = pictures::MakeSkyScene(c.fields, d.year(), d.month(), d.day(), StoredHorizon(c.place), now_hours);
    // The slot of the outage tab is ringed, with the Sun on its azimuth.
    RingSlot(sky_, c.fields, {d.year(), d.month(), d.day()});
    if (!c.names.empty()) {
      for (const ArcSlot& a : sky_.arc) sky_.names.push_back(NamesAtSlot(c.names, SlotEast(a.lon)));
    }
    sky_.title = c.place + "   " + DateText({d.year(), d.month(), d.day()}) + "   " + zone;
    SkyView->update();
  } else {
    year_ = pictures::MakeYearScene(c.fields, c.year);
    year_.month = c.month;
    const QDate today = c.now.date();
    year_.today = DayOfYear(c.year, {today.year(), today.month(), today.day()});
    year_.title = c.place + "   " + std::to_string(c.year) + "   " + zone;
    YearView->update();
  }
}

Horizon PictureTabs::StoredHorizon(const std::string& place) {
  const std::string text = HorizonOf(horizons_, place);
  try {
    return Horizon::Parse(text);
  } catch (const CalcError& e) {
    // A bad stored mask (the file edited by hand) is said once; the sky shows without it and
    // the text waits in the field to be put right.
    if (reported_horizon_ != place + '=' + text) {
      reported_horizon_ = place + '=' + text;
      report_.Report(e.what());
    }
    return Horizon();
  }
}

void PictureTabs::EditHorizonExit() {
  // Leaving the field without a change is no new mask: nothing to check or report.
  if (EditHorizon->text().toStdString() == HorizonOf(horizons_, horizon_place_)) return;
  const std::string text = CommaRule(EditHorizon->text().toStdString());
  if (QString::fromStdString(text) != EditHorizon->text()) EditHorizon->setText(QString::fromStdString(text));
  Horizon::Parse(text);  // a bad text stays in the field, reported, and changes nothing
  if (horizon_place_.empty()) return;
  const bool blank = text.find_first_not_of(" \t") == std::string::npos;
  if (blank) {
    horizons_.erase(horizon_place_);
  } else {
    horizons_[horizon_place_] = text;
  }
  Refresh();
}

void PictureTabs::ButtonHorizonFileClick() {
  const QString start = QString::fromStdString(context_().save_dir);
  const QString path = ask_open_path ? ask_open_path(start)
                                     : QFileDialog::getOpenFileName(form_, QStringLiteral("Профиль горизонта"), start,
                                                                    QStringLiteral("Профили (*.csv *.json *.txt);;Все файлы (*)"));
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw CalcError("Cannot open file " + path.toStdString());
  const QByteArray bytes = file.readAll();
  // A bad file is reported and leaves the field and the mask as they were.
  EditHorizon->setText(QString::fromStdString(HorizonFromProfile(std::string_view(bytes.constData(), bytes.size()))));
  EditHorizonExit();
}

void PictureTabs::ButtonSaveClick() {
  const PictureContext c = context_();
  const bool sky = shown_ == sky_tab_;
  const QString start = QString::fromStdString(c.save_dir) + QString::fromStdString(c.place) +
                        (sky ? QStringLiteral("_небо.png") : QStringLiteral("_год.png"));
  const QString svg_filter = QStringLiteral("SVG (*.svg)");
  QString filter;
  const QString chosen = ask_save_path ? ask_save_path(start, filter)
                                       : QFileDialog::getSaveFileName(form_, QStringLiteral("Сохранить рисунок"), start,
                                                                      QStringLiteral("PNG (*.png);;") + svg_filter, &filter);
  if (chosen.isEmpty()) return;
  const QString path = QString::fromStdString(pictures::WithPictureExtension(chosen.toStdString(), filter == svg_filter));
  const QSize size(1200, 600);
  if (sky) {
    pictures::SavePicture(path.toStdString(), size, [this](QPainter& p, QSizeF s) { pictures::DrawSky(p, s, sky_); });
  } else {
    pictures::SavePicture(path.toStdString(), size, [this](QPainter& p, QSizeF s) { pictures::DrawYear(p, s, year_); });
  }
}

}  // namespace kelmar::ui

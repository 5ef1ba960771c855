#pragma once
// The window's two picture tabs, "Небо" (the sky over the place) and "Год" (the year's
// daylight), with the horizon field, the date of the sky view and the save button that stands
// in for "В Excel" on them. The window calls in at a few points and supplies its state.
#include <QDateTime>
#include <QWidget>
#include <functional>
#include <string>

#include "core/input_fields.h"
#include "pictures/pictures.h"
#include "settings/horizons.h"
#include "settings/slot_names.h"
#include "ui/error_report.h"

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace kelmar::ui {

// A widget that shows a picture and answers hovering with its tooltip.
class PictureView : public QWidget {
 public:
  using Tooltip = std::function<QString(QSizeF, QPointF)>;
  PictureView(QWidget* parent, pictures::Painting paint, Tooltip tooltip = {});

 protected:
  void paintEvent(QPaintEvent*) override;
  bool event(QEvent* e) override;

 private:
  pictures::Painting paint_;
  Tooltip tooltip_;
};

// What the pictures need from the window, read when they are drawn.
struct PictureContext {
  InputFields fields;
  std::string place;  // the selected place's name; empty with no place
  int year = 2000;    // the year and month of the scroll bars
  int month = 1;
  QDateTime now;
  std::string save_dir;  // where the save dialog starts
  SlotNames names;       // the user's names of slots
};

class PictureTabs {
 public:
  PictureTabs(QWidget* form, QTabBar* tabs, QWidget* page_parent, const ErrorReporter& report,
              std::function<PictureContext()> context);

  bool IsPictureTab(int tab) const { return tab == sky_tab_ || tab == year_tab_; }
  bool IsYearTab(int tab) const { return tab == year_tab_; }
  // Shows the page of the tab (none for the table tabs) and the save button on picture tabs.
  void Show(int tab);
  // The pages cover the tables' place; the save button takes "В Excel"'s.
  void SetGeometry(const QRect& page, const QRect& button);
  // The numbers behind the window changed: recomputes the shown picture (the other one is
  // computed when its tab shows).
  void Refresh();

  HorizonTexts& Horizons() { return horizons_; }
  // The sky view's date: the day the user chose there, else the first of the scroll bars' month.
  QDate SkyDate();
  // The horizon mask of the selected place; none where its stored text does not read.
  Horizon PlaceHorizon(const std::string& place) const;

  const pictures::SkyScene& Sky() const { return sky_; }
  const pictures::YearScene& Year() const { return year_; }

  QWidget* SkyPage = nullptr;
  PictureView* SkyView = nullptr;
  QDateEdit* EditSkyDate = nullptr;
  QLineEdit* EditHorizon = nullptr;
  QPushButton* ButtonHorizonFile = nullptr;  // "Загрузить…": a profile from a file
  PictureView* YearView = nullptr;
  QPushButton* ButtonSave = nullptr;

  // Asks for the file to save into and sets the chosen type's filter ("SVG (*.svg)" or
  // "PNG (*.png)"; left empty, PNG); the save dialog when empty.
  std::function<QString(const QString& start, QString& filter)> ask_save_path;
  // Asks for the profile file to read; the open dialog when empty.
  std::function<QString(const QString& start)> ask_open_path;
  // Told when the user picks another day for the sky view.
  std::function<void()> on_date_changed;

 private:
  void EditHorizonExit();
  void ButtonSaveClick();
  void ButtonHorizonFileClick();
  void SyncDate(const PictureContext& c);
  void Rebuild();
  Horizon StoredHorizon(const std::string& place);

  QWidget* form_;
  QTabBar* tabs_;
  const ErrorReporter& report_;
  std::function<PictureContext()> context_;
  int sky_tab_, year_tab_;
  int shown_ = -1;
  HorizonTexts horizons_;
  std::string horizon_place_;   // the place whose mask the field shows
  std::string reported_horizon_;  // "place=text" of the bad stored mask last reported
  int date_year_ = 0, date_month_ = 0;  // the scroll bars' month the date was last set from
  pictures::SkyScene sky_;
  pictures::YearScene year_;
};

}  // namespace kelmar::ui

#include "ui/sat_tab.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>

#include "core/calc_error.h"
#include "core/magnetic.h"
#include "core/observer.h"
#include "core/outage.h"
#include "core/table_text.h"
#include "ui/cell_drawing.h"
#include "ui/form1.h"
#include "ui/input_panel.h"
#include "ui/outage_tab.h"
#include "ui/picture_tabs.h"
#include "ui/places_panel.h"
#include "ui/sun_tab.h"
#include "ui/text_grid_view.h"
#include "ui/widget_kit.h"

namespace kelmar::ui {

SatTab::SatTab(TForm1& form) : f_(form), grid_(MakeSatGrid()) {}

void SatTab::BuildGrid() {
  const int v = f_.ScreenHeight();
  f_.StringGridSat = Designed(new TextGridView(grid_, f_.TabControl1), "StringGridSat", v);
  f_.StringGridSat->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) { StringGridSatDrawCell(p, c, r, rc); });
}

void SatTab::BuildCompass() {
  const int v = f_.ScreenHeight();
  f_.LabelMag = Designed(new QLabel(&f_), "LabelMag", v);
  f_.LabelMag->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  f_.LabelMag->setWordWrap(true);
  SetTextColor(f_.LabelMag, Qt::blue);
  f_.CheckBoxMagAz = Designed(new QCheckBox(QStringLiteral("Азимуты по компасу"), &f_), "CheckBoxMagAz", v);
}

void SatTab::Connect() {
  const ErrorReporter& report = f_.Report();
  f_.StringGridSat->SetDoubleClick([this, &report](int col, int row) { report.Guarded([&] { StringGridSatDblClick(col, row); }); });
  f_.StringGridSat->SetCellTooltip([this](int col, int row) {
    const std::optional<int> slot = SatPositionAt(col, row);
    return slot ? Q(NamesAtSlot(f_.Names(), *slot)) : QString();
  });
  f_.StringGridSat->SetContextMenu([this, &report](int col, int row, const QPoint& at) {
    if (!SatPositionAt(col, row)) return;
    QMenu menu(&f_);
    const QAction* name = menu.addAction(QStringLiteral("Название…"));
    if (menu.exec(at) == name) report.Guarded([&] { StringGridSatNameClick(col, row); });
  });
  QObject::connect(f_.CheckBoxMagAz, &QCheckBox::clicked, &f_, Guard(report, this, &SatTab::CheckBoxMagAzClick));
}

void SatTab::RunSatel() {
  if (f_.PlaceBox().List().Empty()) return;
  if (f_.Options().on_compute) f_.Options().on_compute('S');
  const InputFields in = f_.Sun().ComputedFields();
  std::string note;
  // The magnetic model is read only when its line is to be seen or the table needs it.
  declination_stale_ = f_.Tab() != kSatTab && !in.compass;
  const std::optional<double> compass = declination_stale_ ? std::nullopt : ShowDeclination(in, note);
  table_ = SatelliteSlots(ObserverFromFields(in), compass);
  FormatSatTable(table_, grid_);
  compass_note_ = note;
  f_.StringGridSat->Refresh();
}

void SatTab::Shown() {
  if (!declination_stale_ || f_.PlaceBox().List().Empty()) return;
  std::string note;
  ShowDeclination(f_.Input().ReadFields(), note);  // the table already shows true azimuths, as it must
  declination_stale_ = false;
}

std::optional<double> SatTab::ShowDeclination(const InputFields& in, std::string& note) {
  const QDate today = f_.Options().clock().date();
  const CalendarDate date{today.year(), today.month(), today.day()};
  MagneticField field;
  std::string text;
  bool usable = false;
  try {
    field = MagneticForFields(in.latitude, in.longitude, date, f_.MagneticDir());
    text = DeclinationReport(field, date);
    // The degrees and their side stay on one line when the label wraps.
    if (const std::size_t side = text.find("° "); side != std::string::npos) text.replace(side + 2, 1, "\u00A0");
    usable = CompassUsable(field);
  } catch (const CalcError& e) {
    // No declination (a latitude beyond the poles, no model files): said here, never as an
    // error box, and the table stays as it always was.
    text = e.what();
  }
  f_.LabelMag->setText(Q(text));
  FitLabelMag();
  // Where the compass is of no use the box shows unticked; the choice waits for a place where it works.
  f_.CheckBoxMagAz->setEnabled(usable);
  f_.CheckBoxMagAz->setChecked(usable && f_.Input().CompassChoice());
  if (!usable || !in.compass) return std::nullopt;
  note = CompassNote(field, date);
  return field.declination;
}

void SatTab::FitLabelMag() {
  // A warning that reaches the credit's place hides the credit on this tab, and a text longer
  // still is set smaller.
  const int v = f_.ScreenHeight();
  const Rect box = ScaleRect(FindControl("LabelMag")->rect, v);
  const int room = ScaleCoord(kDesignClientHeight, v) - ScaleCoord(2, v) - box.top;
  QFont font = MakeFont("Tahoma", ScaleCoord(10, v), false);
  f_.LabelMag->setFont(font);
  while (f_.LabelMag->heightForWidth(box.width) > room && font.pixelSize() > 8) {
    font.setPixelSize(font.pixelSize() - 1);
    f_.LabelMag->setFont(font);
  }
  const int needed = f_.LabelMag->heightForWidth(box.width);
  f_.LabelMag->setGeometry(box.left, box.top, box.width, std::max(box.height, needed));
  mag_needs_credit_room_ = f_.LabelMag->geometry().bottom() >= f_.Label1->geometry().top();
  f_.Label1->setVisible(f_.Tab() != kSatTab || !mag_needs_credit_room_);
}

std::optional<int> SatTab::SatPositionAt(int col, int row) const {
  const int i = SlotIndexAt(col, row);
  if (i < 0 || grid_.Cell(SlotCellOf(i).col, row).empty()) return std::nullopt;
  return SlotEast(table_.positions[static_cast<std::size_t>(i)].lon);
}

void SatTab::StringGridSatDrawCell(QPainter& p, int col, int row, const QRect& rect) const {
  const int i = SlotIndexAt(col, row);
  const bool below = i >= 0 && table_.positions[static_cast<std::size_t>(i)].below_horizon;
  DrawCell(p, rect, Q(grid_.Cell(col, row)), SatCellLook(col, row, below));
}

void SatTab::StringGridSatDblClick(int col, int row) {
  if (!SatPositionAt(col, row)) return;
  const std::string& slot = grid_.Cell(SlotCellOf(SlotIndexAt(col, row)).col, row);
  SetFieldText(f_.ESlot, Q(slot));
  f_.Outage().MarkStale();
  f_.TabControl1->Tabs()->setCurrentIndex(kOutageTab);  // computes the table on the way
  if (f_.Outage().Stale()) f_.Outage().RunOutage();
}

void SatTab::StringGridSatNameClick(int col, int row) {
  const std::optional<int> slot = SatPositionAt(col, row);
  if (!slot) return;
  SlotNames& names = f_.EditNames();
  const double position = NamedPositionAt(names, *slot);
  const QString question = QStringLiteral("Название позиции %1:").arg(Q(SlotText(position)));
  const QString old_name = Q(NameOf(names, position));
  std::optional<QString> name;
  if (ask_name) {
    name = ask_name(question, old_name);
  } else {
    bool ok = false;
    const QString typed = QInputDialog::getText(&f_, QStringLiteral("Название"), question, QLineEdit::Normal, old_name, &ok);
    if (ok) name = typed;
  }
  if (!name) return;
  SetSlotName(names, position, S(*name));
  f_.Outage().ShowSlotName();
  f_.Pictures().Refresh();
}

void SatTab::CheckBoxMagAzClick() {
  f_.Input().SetCompassChoice(f_.CheckBoxMagAz->isChecked());
  RunSatel();
}

}  // namespace kelmar::ui

#include "ui/places_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui/form1.h"
#include "ui/input_panel.h"
#include "ui/picture_tabs.h"
#include "ui/sat_tab.h"
#include "ui/sun_tab.h"
#include "ui/widget_kit.h"

namespace kelmar::ui {

void PlacesPanel::Build() {
  TForm1& f = f_;
  const int v = f.ScreenHeight();
  // The title once the font is set: a title is measured as it is set.
  f.GroupBoxInput = Designed(new QGroupBox(&f), "GroupBoxInput", v);
  f.GroupBoxInput->setTitle(QStringLiteral("Населенные  пункты"));
  f.ComboBoxPunkt = Designed(new QComboBox(f.GroupBoxInput), "ComboBoxPunkt", v);
  f.ComboBoxPunkt->setEditable(false);  // a list the keyboard searches, never free text
  f.ComboBoxPunkt->setMaxVisibleItems(35);
  f.EditPunkt = Designed(new QLineEdit(QStringLiteral("EditPunkt"), f.GroupBoxInput), "EditPunkt", v);
  f.EditPunkt->setToolTip(QStringLiteral("\"В.Поляны\" или \" LO56CD...\""));
  f.EditPunkt->hide();
  f.LabelSir = Designed(new QLabel(QStringLiteral("Широта ="), f.GroupBoxInput), "LabelSir", v);
  f.LabelSir->setAlignment(Qt::AlignRight | Qt::AlignTop);
  f.EditSir = Designed(new QLineEdit(QStringLiteral("EditSir"), f.GroupBoxInput), "EditSir", v);
  f.LabelDolg = Designed(new QLabel(QStringLiteral("Долгота ="), f.GroupBoxInput), "LabelDolg", v);
  f.LabelDolg->setAlignment(Qt::AlignRight | Qt::AlignTop);
  f.EditDolg = Designed(new QLineEdit(QStringLiteral("EditDolg"), f.GroupBoxInput), "EditDolg", v);
  f.ButtonNew = Designed(new QPushButton(QString::fromUtf8(kCaptionAdd), f.GroupBoxInput), "ButtonNew", v);
  f.ButtonDelete = Designed(new QPushButton(QStringLiteral("Удалить"), f.GroupBoxInput), "ButtonDelete", v);
}

void PlacesPanel::Connect() {
  TForm1& f = f_;
  const ErrorReporter& report = f.Report();
  QObject::connect(f.ButtonNew, &QPushButton::clicked, &f, Guard(report, this, &PlacesPanel::ButtonNewClick));
  QObject::connect(f.ButtonDelete, &QPushButton::clicked, &f, Guard(report, this, &PlacesPanel::ButtonDeleteClick));
  // activated: the user picked an entry; the program's own selections do not raise it.
  QObject::connect(f.ComboBoxPunkt, &QComboBox::activated, &f,
                   [this, &report](int index) { report.Guarded([&] { ComboBoxPunktChange(index); }); });
}

void PlacesPanel::ShowPlaces() {
  const QSignalBlocker block(f_.ComboBoxPunkt);
  f_.ComboBoxPunkt->clear();
  for (const Place& place : places_) f_.ComboBoxPunkt->addItem(Q(place.name));
  f_.ComboBoxPunkt->setCurrentIndex(places_.Empty() ? -1 : place_index_);
}

void PlacesPanel::SetEntering(bool entering) {
  entering_ = entering;
  f_.ButtonNew->setText(QString::fromUtf8(entering ? kCaptionDone : kCaptionAdd));
  f_.EditPunkt->setVisible(entering);
  f_.ComboBoxPunkt->setVisible(!entering);
  f_.ButtonDelete->setEnabled(!entering);
}

void PlacesPanel::ApplyOutcome(const PlaceOutcome& outcome) {
  switch (outcome.kind) {
    case MessageKind::None: break;
    case MessageKind::Error: f_.Report().Report(outcome.message); return;
    case MessageKind::Information:
      QMessageBox::information(&f_, QStringLiteral("Information"), Q(outcome.message), QMessageBox::Ok);
      return;
  }
  if (outcome.recompute == Recompute::SunThenSat) {
    f_.Sun().RunCalc();
    f_.Sat().RunSatel();
  }
}

void PlacesPanel::ComboBoxPunktChange(int index) {
  InputFields in = f_.Input().ReadFields();
  const PlaceOutcome outcome = SelectPlace(places_, place_index_, in, index);
  f_.Input().WriteFields(in);
  ApplyOutcome(outcome);
}

void PlacesPanel::ButtonNewClick() {
  const bool was_entering = entering_;
  InputFields in = f_.Input().ReadFields();
  std::string punkt = S(f_.EditPunkt->text());
  const PlaceOutcome outcome =
      entering_ ? FinishAddPlace(places_, place_index_, in, punkt) : BeginAddPlace(in, punkt);
  f_.Input().WriteFields(in);
  SetFieldText(f_.EditPunkt, Q(punkt));
  ShowPlaces();
  SetEntering(outcome.entering);
  if (outcome.entering && !was_entering) f_.EditPunkt->setFocus();
  ApplyOutcome(outcome);
}

void PlacesPanel::ButtonDeleteClick() {
  const auto question = DeleteQuestion(places_, place_index_);
  if (!question) return;
  const bool yes = f_.AskYesNo(Q(*question));
  InputFields in = f_.Input().ReadFields();
  const std::string name = S(f_.ComboBoxPunkt->currentText());
  const int count = places_.Count();
  const PlaceOutcome outcome = DeletePlace(places_, place_index_, in, yes);
  if (places_.Count() < count) f_.Pictures().Horizons().erase(name);  // a deleted place's horizon goes with it
  f_.Input().WriteFields(in);
  ShowPlaces();
  ApplyOutcome(outcome);
}

}  // namespace kelmar::ui

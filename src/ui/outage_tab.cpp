#include "ui/outage_tab.h"

#include <QLabel>
#include <QLineEdit>

#include "core/sun_align.h"
#include "core/table_text.h"
#include "settings/slot_names.h"
#include "ui/cell_drawing.h"
#include "ui/form1.h"
#include "ui/layout.h"
#include "ui/picture_tabs.h"
#include "ui/places_panel.h"
#include "ui/sun_tab.h"
#include "ui/text_grid_view.h"
#include "ui/widget_kit.h"

namespace kelmar::ui {

OutageTab::OutageTab(TForm1& form) : f_(form), grid_(MakeOutageGrid({})) {}

void OutageTab::Build() {
  TForm1& f = f_;
  const int v = f.ScreenHeight();
  f.PageOut = Named(new QWidget(f.TabControl1), "PageOut");
  f.PageOut->hide();
  auto label = [&](const char* text, const char* name) {
    QLabel* l = Named(new QLabel(QString::fromUtf8(text), f.PageOut), name);
    l->setFont(DesignFont(DesignFace::TahomaBold, 11, v));
    return l;
  };
  auto field = [&](const char* name, const std::string& text) {
    QLineEdit* e = Named(new QLineEdit(Q(text), f.PageOut), name);
    e->setFont(DesignFont(DesignFace::TahomaBold, 11, v));
    return e;
  };
  const InputFields defaults;
  f.LabelSlot = label("Спутник", "LabelSlot");
  f.ESlot = field("ESlot", defaults.slot);
  f.ESlot->setToolTip(QStringLiteral("\"36 E\", \"5W\", \"19.2E\", \"0\", \"180\""));
  f.LabelDish = label("Антенна, м", "LabelDish");
  f.EDish = field("EDish", defaults.dish);
  f.LabelFreq = label("Частота, ГГц", "LabelFreq");
  f.EFreq = field("EFreq", defaults.frequency);
  f.LabelSlotName = label("", "LabelSlotName");
  SetTextColor(f.LabelSlotName, Qt::blue);
  f.LabelOutInfo = label("", "LabelOutInfo");
  f.LabelOutAlign = label("", "LabelOutAlign");
  f.LabelOutAlign->setToolTip(QStringLiteral("Когда Солнце стоит на азимуте спутника (встаньте лицом к Солнцу) "
                                             "или тень вертикального шеста указывает на спутник"));
  f.LabelOutNote = label("", "LabelOutNote");
  f.LabelOutNote->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  f.LabelOutCut = label("", "LabelOutCut");
  f.LabelOutCut->hide();
  f.StringGridOut = Named(new TextGridView(grid_, f.PageOut), "StringGridOut");
  f.StringGridOut->setFont(DesignFont(DesignFace::TahomaBold, 13, v));
  f.StringGridOut->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) {
    DrawCell(p, rc, Q(grid_.Cell(c, r)), SunCellLook(r));
  });
}

void OutageTab::Place() {
  TForm1& f = f_;
  const int v = f.ScreenHeight();
  // The page covers the tables' place on the tab control.
  const Rect page = ScaleRect(FindControl("StringGridVos")->rect, v);
  f.PageOut->setGeometry(page.left, page.top, page.width, page.height);
  // At design size, relative to the page; a height of 0 is a field's.
  const std::pair<QWidget*, Rect> places[] = {
      {f.LabelSlot, {8, 9, 62, 16}},      {f.ESlot, {70, 6, 64, 0}},
      {f.LabelDish, {150, 9, 76, 16}},    {f.EDish, {226, 6, 40, 0}},
      {f.LabelFreq, {282, 9, 90, 16}},    {f.EFreq, {372, 6, 40, 0}},
      {f.LabelSlotName, {420, 9, 195, 16}},
      {f.LabelOutInfo, {8, 34, 600, 16}}, {f.LabelOutAlign, {8, 52, 600, 16}},
      {f.LabelOutNote, {8, 120, 600, 40}},
  };
  for (const auto& [w, design] : places) {
    if (const char* sample = WidestText(S(w->objectName()))) FitFont(w, sample, ScaleRect(design, v).width - kFieldFrame);
  }
  const int field_h = QFontMetrics(f.ESlot->font()).height() + 8;
  for (const auto& [w, design] : places) {
    const Rect r = ScaleRect(design, v);
    w->setGeometry(r.left, r.top, r.width, r.height > 0 ? r.height : field_h);
  }
  const Rect grid = ScaleRect({0, 72, 615, 418}, v);
  PlaceOutGrid();
  const Rect cut = ScaleRect({8, 472, 600, 16}, v);
  f.LabelOutCut->setGeometry(cut.left, cut.top, cut.width, cut.height);
  f.StringGridOut->SetDefaultRowHeight(ComputeWindowLayout(v).sun.row_height);
  f.StringGridOut->SetColWidths(std::vector<int>(kOutageCols, (grid.width - 12) / kOutageCols));
}

void OutageTab::Connect() {
  const ErrorReporter& report = f_.Report();
  const std::pair<QLineEdit*, void (OutageTab::*)()> exits[] = {
      {f_.ESlot, &OutageTab::ESlotExit}, {f_.EDish, &OutageTab::EDishExit}, {f_.EFreq, &OutageTab::EFreqExit}};
  for (const auto& [edit, handler] : exits) OnFocusOut(edit, Guard(report, this, handler));
  // The table follows its fields on Enter too, without leaving them.
  for (const auto& [edit, handler] : exits) QObject::connect(edit, &QLineEdit::returnPressed, &f_, Guard(report, this, handler));
}

void OutageTab::PlaceOutGrid() {
  // The line about cut times takes the bottom of the table's place while it shows.
  const Rect grid = ScaleRect({0, 72, 615, f_.LabelOutCut->isVisibleTo(f_.PageOut) ? 398 : 418}, f_.ScreenHeight());
  f_.StringGridOut->setGeometry(grid.left, grid.top, grid.width, grid.height);
}

void OutageTab::RunOutage() {
  stale_ = f_.Tab() != kOutageTab;
  if (stale_ || f_.PlaceBox().List().Empty() || !f_.Sun().Computed()) return;
  struct Show {
    OutageTab* t;
    ~Show() {  // also after a failure: the table is then empty
      TForm1& f = t->f_;
      const bool rows = t->grid_.RowCount() > 1;
      f.StringGridOut->setVisible(rows);
      f.LabelOutNote->setVisible(!rows);
      f.LabelOutCut->setVisible(rows && !f.LabelOutCut->text().isEmpty());
      t->PlaceOutGrid();
      if (rows) f.StringGridOut->Resized();
    }
  } show{this};
  grid_ = MakeOutageGrid({});
  table_.reset();
  f_.LabelOutInfo->clear();
  f_.LabelOutAlign->clear();
  f_.LabelOutNote->clear();
  f_.LabelOutCut->clear();
  ShowSlotName();
  const InputFields in = f_.Sun().ComputedFields();
  const int year = f_.State().Year;
  const OutageTable t = ComputeOutages(in, year);
  f_.LabelOutInfo->setText(Q(OutageInfoLine(t)));
  if (t.visible) {
    const QDate d = f_.Pictures().SkyDate();
    const AlignTable a = ComputeAlignment(in, f_.Pictures().PlaceHorizon(f_.Sun().ComputedPlace()),
                                          {d.year(), d.month(), d.day()}, 1);
    f_.LabelOutAlign->setText(Q(AlignLine(a.days[0])));
  }
  f_.LabelOutNote->setText(Q(OutageNote(t, year)));
  if (HasCut(t)) f_.LabelOutCut->setText(QString::fromUtf8(kOutageCutNote));
  grid_ = MakeOutageGrid(t);
  table_ = t;
}

void OutageTab::ShowSlotName() {
  const std::optional<double> slot = ParseSlot(S(f_.ESlot->text()));
  f_.LabelSlotName->setText(slot ? Q(NameOf(f_.Names(), *slot)) : QString());
}

void OutageTab::ESlotExit() {
  ApplyCommaRule(f_.ESlot);
  RunOutage();
}

void OutageTab::EDishExit() {
  ApplyCommaRule(f_.EDish);
  RunOutage();
}

void OutageTab::EFreqExit() {
  ApplyCommaRule(f_.EFreq);
  RunOutage();
}

}  // namespace kelmar::ui

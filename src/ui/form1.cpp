#include "ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabBar>
#include <QTimer>
#include <clocale>
#include <stdexcept>

#include "core/day_serial.h"
#include "core/text_grid.h"
#include "settings/settings_io.h"
#include "ui/cell_drawing.h"
#include "ui/input_panel.h"
#include "ui/layout.h"
#include "ui/outage_tab.h"
#include "ui/picture_tabs.h"
#include "ui/places_panel.h"
#include "ui/sat_tab.h"
#include "ui/sun_tab.h"
#include "ui/text_grid_view.h"
#include "ui/widget_kit.h"
#include "ui/worker_thread.h"

#ifdef KELMAR_HAVE_EXPORT
#include "export/excel_export.h"
#include "export/plugin_loader.h"
#else
namespace kelmar {
class ExcelExporter {};  // this build has no export
}  // namespace kelmar
#endif

// Resources of a static library are registered by hand.
static void InitKelmarUiResources() { Q_INIT_RESOURCE(kelmar_ui); }

namespace kelmar::ui {

FileLayout ProgramLayout(const std::string& exe_dir) {
  UserDirs user = EnvironmentUserDirs();
  user.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  return ChooseLayout(exe_dir, SettingsPathFor(ExecutablePath()), user);
}

namespace {

// The window was laid out for narrow Windows faces; on a system without them the condensed
// DejaVu keeps the texts inside their controls, and plain DejaVu is the last resort.
void UseNarrowFallbackFonts() {
  const QStringList narrow{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
  for (const char* family : {"Tahoma", "MS Sans Serif", "Arial"}) {
    if (QFont::substitutes(QString::fromLatin1(family)).isEmpty()) {
      QFont::insertSubstitutions(QString::fromLatin1(family), narrow);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

TForm1::TForm1(FormOptions options)
    : QWidget(nullptr),
      options_(std::move(options)),
      report_(this, options_.error_sink ? options_.error_sink : ErrorSink(ShowErrorBox)),
      input_(std::make_unique<InputPanel>(*this)),
      places_(std::make_unique<PlacesPanel>(*this)),
      sun_(std::make_unique<SunTab>(*this)),
      sat_(std::make_unique<SatTab>(*this)),
      outage_(std::make_unique<OutageTab>(*this)) {
  InitKelmarUiResources();
  setObjectName(QStringLiteral("Form1"));
  UseNarrowFallbackFonts();
  if (!options_.clock) options_.clock = [] { return QDateTime::currentDateTime(); };
  st_.Names = options_.names;

  const std::string exe = ExecutablePath();
  exe_dir_ = options_.exe_dir.empty() ? S(QFileInfo(Q(exe)).absolutePath()) : options_.exe_dir;
  data_dir_ = plugin_dir_ = export_dir_ = exe_dir_;
  magnetic_dir_ = MagneticModelDir();
  settings_path_ = load_path_ = options_.settings_path;
  if (settings_path_.empty()) {
    const FileLayout layout = ProgramLayout(exe_dir_);
    SeedSettings(layout);
    settings_path_ = layout.settings;
    load_path_ = SettingsToRead(layout);  // the starter file while the user's could not be made
    data_dir_ = layout.data_dir;
    magnetic_dir_ = layout.data_dir + "magnetic";
    plugin_dir_ = layout.plugin_dir;
    export_dir_ = layout.export_dir;
  }

  if (options_.screen_height) {
    v_ = *options_.screen_height;
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    v_ = screen->geometry().height();
  }
  if (v_ <= 0) v_ = kDesignHeight;

  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kBtnFace);
  pal.setColor(QPalette::Button, kBtnFace);
  setPalette(pal);

  BuildControls();
  SetTabOrder();
  ConnectHandlers();
  CreateForm();
}

bool TForm1::event(QEvent* e) {
  const bool handled = QWidget::event(e);
  // The icon once the window has been painted: reading it has Qt look through every image
  // plugin it has, which would hold up the first sight of the tables.
  if (e->type() == QEvent::Paint && !icon_posted_) {
    icon_posted_ = true;
    QTimer::singleShot(0, this, [this] { setWindowIcon(QIcon(QStringLiteral(":/kelmar/kelmar.png"))); });
  }
  return handled;
}

TForm1::~TForm1() {
  // The office objects are released on the thread that made them; an office the export
  // started and left with nothing to show goes with the window.
  if (worker_) {
    worker_->Stop([this] {
      if (exporter_) exporter_->QuitIdleOffice();
      exporter_.reset();
    });
  }
}

int TForm1::PlaceIndex() const { return places_->Index(); }
const PlaceList& TForm1::Places() const { return places_->List(); }
const TextGrid& TForm1::SunGrid() const { return sun_->Grid(); }
const TextGrid& TForm1::SatGrid() const { return sat_->Grid(); }
const TextGrid& TForm1::OutGrid() const { return outage_->Grid(); }
int TForm1::Tab() const { return TabControl1->TabIndex(); }

void TForm1::BuildControls() {
  // The window's own font first; each control gets its design row's as it is made.
  setFont(MakeFont("MS Sans Serif", ScaleCoord(kWindowFontPx, v_), false));
  // An edit field lays its text out in the application's font while it is made, before it has
  // its own. Made while that is a font of the window's, the fields load no font that nothing
  // shows; the application's font is back before anything is shown.
  struct AppFontWhileBuilding {
    const QFont before = QApplication::font();
    explicit AppFontWhileBuilding(const QFont& f) { QApplication::setFont(f); }
    ~AppFontWhileBuilding() { QApplication::setFont(before); }
  } app_font(DesignFontOf("EditSir", v_));
  // The creation order is the stacking order: the note under GroupBox1, the pages on the tab control.
  TabControl1 = Named(new TabControl(this, DesignFontOf("TabControl1", v_)), "TabControl1");
  sun_->Build();
  sat_->BuildGrid();
  pictures_ = std::make_unique<PictureTabs>(this, TabControl1->Tabs(), TabControl1, report_, [this] {
    const bool placed = !places_->List().Empty() && sun_->Computed();
    return PictureContext{sun_->ComputedFields(), placed ? sun_->ComputedPlace() : std::string(), st_.Year, st_.Month,
                          options_.clock(), export_dir_ + "/", names_};
  });
  pictures_->on_date_changed = [this] { outage_->MarkStale(); };
  places_->Build();
  ButtonExcel = Designed(new QPushButton(QStringLiteral("В Excel"), this), "ButtonExcel", v_);
  input_->Build();
  outage_->Build();
  Label1 = Designed(new QLabel(QStringLiteral("Kelmar для Linux\nQt 6, 2026"), this), "Label1", v_);
  Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
  SetTextColor(Label1, Qt::red);
  sat_->BuildCompass();

  // Narrow fields: no text margins eating the few pixels they have.
  for (QLineEdit* e : {EditPunkt, EditSir, EditDolg, EditGMT, EditMSK, EditUg, EditKm, ESlot, EDish, EFreq}) {
    e->setTextMargins(0, 0, 0, 0);
  }
}

void TForm1::ApplyGeometry() {
  const WindowLayout layout = ComputeWindowLayout(v_);
  setFixedSize(layout.client_width, layout.client_height);
  for (const ControlDesign& design : DesignControls()) {
    auto* w = findChild<QWidget*>(QString::fromLatin1(design.name.data(), static_cast<qsizetype>(design.name.size())));
    if (!w) continue;
    Rect r = ScaleRect(design.rect, v_);
    if (const char* sample = WidestText(design.name)) FitFont(w, sample, r.width - kFieldFrame);
    // Edit fields and the drop-down are as high as their font needs, as single-line fields are.
    if (design.height_follows_font) r.height = QFontMetrics(w->font()).height() + 8;
    w->setGeometry(r.left, r.top, r.width, r.height);
  }
  StringGridVos->SetDefaultRowHeight(layout.sun.row_height);
  StringGridVos->SetColWidths(layout.sun.col_widths);
  StringGridSat->SetDefaultRowHeight(layout.sat.row_height);
  StringGridSat->SetColWidths(layout.sat.col_widths);
  outage_->Place();
  note_fitted_ = false;  // on the satellite tab, the only one where the note is not covered
  sat_->FitLabelMag();
  pictures_->SetGeometry(StringGridVos->geometry(), ButtonExcel->geometry());
  // The save button stands where "В Excel" stands, in the same font, which fits its longer caption.
  FitFont(ButtonExcel, kSaveCaption, ButtonExcel->width() - kButtonFrame);
  pictures_->SetButtonFont(ButtonExcel->font());
}

void TForm1::FitNote() {
  // The note's nineteen lines end above the declination line whatever the face's line height.
  note_fitted_ = true;
  const int note_room = ScaleCoord(FindControl("LabelMag")->rect.top, v_) - Label2->y();
  for (QFont f = Label2->font(); Label2->sizeHint().height() > note_room && f.pixelSize() > 8;) {
    f.setPixelSize(f.pixelSize() - 1);
    Label2->setFont(f);
  }
}

void TForm1::SetTabOrder() {
  // Window level first, then each container's own order.
  const std::vector<QWidget*> order = {
      TabControl1->Tabs(), StringGridSat, StringGridVos,
      ButtonExcel,
      ButtonNew, ComboBoxPunkt, EditSir, EditDolg, ButtonDelete, EditPunkt,
      RadioButtonMSK, RadioButtonGMT, EditMSK, EditGMT, ButtonTUp, ButtonTDown, CheckBoxSec,
      RadioButtonUgol, RadioButtonVys, EditKm, EditUg, ButtonUgUp, ButtonUgDown,
      ScrollBarY, ScrollBarM,
      ESlot, EDish, EFreq, StringGridOut,
  };
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  for (QScrollBar* s : {ScrollBarY, ScrollBarM}) s->setFocusPolicy(Qt::StrongFocus);
}

void TForm1::ConnectHandlers() {
  connect(TabControl1->Tabs(), &QTabBar::currentChanged, this, [this](int) { report_.Guarded([this] { TabControl1Change(); }); });
  sat_->Connect();
  input_->Connect();
  places_->Connect();
  connect(ButtonExcel, &QPushButton::clicked, this, Guard(report_, this, &TForm1::ButtonExcelClick));
  outage_->Connect();
}

// ---------------------------------------------------------------------------------------------
// Start-up

void TForm1::CreateForm() {
  report_.Guarded([this] {
    // Geometry first: a control made visible without one lays its text out to find a size.
    ApplyGeometry();
    Vid();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
    WriteSunHeaders(sun_->Grid());
    WriteSatHeaders(sat_->Grid());
    // Numbers are read and written with "." whatever the user's regional settings.
    std::setlocale(LC_NUMERIC, "C");
    LoadStartSettings();

    const QDateTime now = options_.clock();
    const QDate today = now.date();
    st_.CurDate = EncodeDate(today.year(), today.month(), today.day()) + now.time().msecsSinceStartOfDay() / 86400000.0;
    st_.Year = static_cast<std::uint16_t>(today.year());
    st_.Month = static_cast<std::uint16_t>(today.month());
    input_->ShowYearAndMonth();

    sun_->RunCalc();
    sat_->RunSatel();
  });
}

void TForm1::LoadStartSettings() {
  InputFields in = input_->ReadFields();
  LoadedSettings loaded;
  try {
    loaded = LoadSettings(load_path_);
  } catch (const SettingsError&) {
    settings_unreadable_ = true;  // the close must not replace a file it never read
    throw;
  }
  ApplyLoadedSettings(loaded, places_->List(), places_->Index(), in);
  pictures_->Horizons() = loaded.horizons;
  names_ = loaded.names;
  input_->WriteFields(in);
  places_->ShowPlaces();
  if (loaded.cut_short) {
    settings_unreadable_ = true;  // what follows the NUL would be lost
    report_.Report(CutShortMessage(load_path_));
  }
  if (const auto twins = CaseTwinsMessage(places_->List())) report_.Report(*twins);
}

// ---------------------------------------------------------------------------------------------
// Tabs

void TForm1::Vid() {
  const int tab = Tab();
  const bool picture = pictures_->IsPictureTab(tab);
  const bool sun = tab != kSatTab && tab != kOutageTab && !picture;
  StringGridVos->setVisible(sun);
  StringGridSat->setVisible(tab == kSatTab);
  PageOut->setVisible(tab == kOutageTab);
  // On the satellite tab the note beneath it shows; the outage table and the year chart need
  // its year, zone and twilight. The note is the satellite table's and has no place beside a
  // picture.
  GroupBox1->setVisible(sun || tab == kOutageTab || pictures_->IsYearTab(tab));
  Label2->setVisible(!picture);
  if (tab == kSatTab && !note_fitted_) FitNote();
  LabelMag->setVisible(tab == kSatTab);
  Label1->setVisible(tab != kSatTab || !sat_->NeedsCreditRoom());
  CheckBoxMagAz->setVisible(tab == kSatTab);
  GroupBoxInput->setVisible(true);
  ButtonExcel->setVisible(!picture);  // the pictures have their own save button
  pictures_->Show(tab);
}

void TForm1::TabControl1Change() {
  Vid();
  if (outage_->Stale()) outage_->RunOutage();
  if (Tab() == kSatTab) sat_->Shown();
}

// ---------------------------------------------------------------------------------------------
// Export and close

void TForm1::ButtonExcelClick() {
#ifdef KELMAR_HAVE_EXPORT
  if (exporting_) return;
  // An outage table that failed is computed again here, so its field's message is the export's.
  std::optional<OutageTable> out = outage_->Table();
  if (Tab() == kOutageTab && !out && !places_->List().Empty()) out = ComputeOutages(sun_->ComputedFields(), st_.Year);
  // The export reads a copy taken now, of the tables and the fields and place they were computed
  // for: the window stays usable while the office works.
  struct Snapshot {
    TextGrid vos, sat;
    std::optional<OutageTable> out;
    InputFields fields;
    std::string place, locator, compass_note;
    std::uint16_t month;
    int tab;
    int year;
  };
  auto snap = std::make_shared<const Snapshot>(Snapshot{
      sun_->Grid(), sat_->Grid(), std::move(out), sun_->ComputedFields(),
      sun_->Computed() ? sun_->ComputedPlace() : S(ComboBoxPunkt->currentText()), st_.Locator, sat_->CompassNoteText(),
      st_.Month, Tab(), st_.Year});
  if (!worker_) worker_ = std::make_unique<WorkerThread>();
  exporting_ = true;
  ButtonExcel->setEnabled(false);
  setCursor(Qt::BusyCursor);
  worker_->Run(
      [this, snap] {
        if (!exporter_) exporter_ = MakeExporter();
        exporter_->ButtonExcelClick({snap->tab, snap->vos, snap->sat, snap->fields, snap->place, snap->locator,
                                     snap->month, data_dir_, export_dir_, snap->out ? &*snap->out : nullptr, snap->year},
                                    snap->compass_note);
      },
      this,
      [this](std::exception_ptr error) {
        exporting_ = false;
        ButtonExcel->setEnabled(true);
        unsetCursor();
        if (error) report_.Guarded([&] { std::rethrow_exception(error); });
      });
#else
  throw std::runtime_error("Экспорт в таблицу в этой сборке недоступен");
#endif
}

std::unique_ptr<ExcelExporter> TForm1::MakeExporter() const {
#ifdef KELMAR_HAVE_EXPORT
  if (options_.make_exporter) return options_.make_exporter();
  OfficeOptions office;
  office.PluginPath = plugin_dir_ + kCalcPluginName;
  return std::make_unique<ExcelExporter>(std::move(office));
#else
  return nullptr;
#endif
}

bool TForm1::AskYesNo(const QString& text) {
  return QMessageBox::warning(this, QStringLiteral("Warning"), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool TForm1::FormClose() {
  // An export still running ends first (its own time limits bound the wait) and reports.
  if (exporting_) {
    worker_->Wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  }
  // A new place still being entered is not part of the list yet and is not saved.
  if (settings_unreadable_) return AskYesNo(QString::fromUtf8(kCloseUnsaved));
  const bool saved = report_.Guarded([this] {
    SaveSettings(settings_path_, places_->List(), places_->Index(), input_->ReadFields(), &pictures_->Horizons(), &names_);
  });
  return saved || AskYesNo(QString::fromUtf8(kCloseUnsaved));
}

void TForm1::closeEvent(QCloseEvent* e) {
  bool close = true;
  report_.Guarded([&] { close = FormClose(); });
  if (close) {
    e->accept();
  } else {
    e->ignore();
  }
}

}  // namespace kelmar::ui

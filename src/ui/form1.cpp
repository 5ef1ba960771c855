#include "ui/form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTranslator>
#include <clocale>
#include <stdexcept>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/input_steps.h"
#include "core/magnetic.h"
#include "core/number_text.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/sun_align.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "settings/file_layout.h"
#include "settings/settings_io.h"
#include "ui/cell_drawing.h"
#include "ui/design_fonts.h"
#include "ui/layout.h"
#include "ui/picture_tabs.h"
#include "ui/text_grid_view.h"
#include "ui/worker_thread.h"

#ifdef KELMAR_HAVE_EXPORT
#include "export/excel_export.h"
#include "export/plugin_loader.h"
#else
namespace kelmar {
class ExcelExporter {};  // this build has no export
}  // namespace kelmar
#endif

// Ends a scroll bar's press as its mouse release would: the repeat stops where it is. A bar
// that is not pressed ignores the release.
static void EndAutoRepeat(QScrollBar* bar) {
  const QPointF at = bar->mapFromGlobal(QCursor::pos());
  QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(bar, &release);
}

// Resources of a static library are registered by hand.
static void InitKelmarUiResources() { Q_INIT_RESOURCE(kelmar_ui); }

namespace kelmar::ui {

FileLayout ProgramLayout(const std::string& exe_dir) {
  UserDirs user = EnvironmentUserDirs();
  user.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  return ChooseLayout(exe_dir, SettingsPathFor(ExecutablePath()), user);
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// Runs a handler when a field loses the input focus to another control of the window. Focus
// that leaves with the whole window, or to a pop-up, is no exit from the field.
class FocusOutFilter : public QObject {
 public:
  FocusOutFilter(QObject* parent, std::function<void()> fn) : QObject(parent), fn_(std::move(fn)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(e)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        if (watched == parent()) fn_();
      }
    }
    return false;
  }

 private:
  std::function<void()> fn_;
};

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

// Texts the program puts into a field are shown from their first character, as a narrow field
// on Windows shows them; the cursor would otherwise scroll the field to the text's end.
void SetFieldText(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
  edit->setCursorPosition(0);
}

QFont MakeFont(const char* family, int px, bool bold) {
  QFont f(DesignFamily(QString::fromLatin1(family)));
  f.setPixelSize(std::max(1, px));
  f.setBold(bold);
  return f;
}

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

void SetTextColor(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, c);
  pal.setColor(QPalette::Text, c);
  w->setPalette(pal);
}

void SetBackground(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// The widest text each narrow field is expected to hold; its font is made to fit it whole.
const char* WidestText(std::string_view field) {
  static const std::pair<std::string_view, const char*> kWidest[] = {
      {"EditSir", "-55.755"}, {"EditDolg", "-155.75"}, {"EditGMT", "-12"}, {"EditMSK", "-12"},
      {"EditUg", "18.5"},     {"EditKm", "12.345"},    {"ESlot", "150.5 W"}, {"EDish", "1.25"},
      {"EFreq", "12.75"},
  };
  for (const auto& [name, text] : kWidest)
    if (name == field) return text;
  return nullptr;
}

// Sets the widget's font smaller, pixel by pixel down to 8 and then no longer bold, until `text`
// is at most `width` wide.
void FitFont(QWidget* w, const char* text, int width) {
  QFont f = w->font();
  const QString t = QString::fromUtf8(text);
  // Widths grow with the size: one step to the size that should fit, then pixel by pixel, so
  // the start-up loads few faces.
  if (const int advance = QFontMetrics(f).horizontalAdvance(t); advance > width && f.pixelSize() > 8)
    f.setPixelSize(std::max(8, f.pixelSize() * width / advance));
  while (QFontMetrics(f).horizontalAdvance(t) > width) {
    if (f.pixelSize() > 8) {
      f.setPixelSize(f.pixelSize() - 1);
    } else if (f.bold()) {
      f.setBold(false);
    } else {
      break;
    }
  }
  w->setFont(f);
}

const QColor kNoteText{50, 80, 125};

const char* const kLabel2Lines[19] = {
    "*) Магнитный азимут",
    "(по компасу) отличается",
    "от расчётного на угол",
    "магнитного склонения",
    "в Вашей местности.",
    "**)  Коррекция - угол",
    "поворота конвертора",
    "от \"нормального\"",
    "положения при V-,H-",
    "поляризации и",
    "вертикальной подвеске",
    "тарелки.",
    "    {+/-} угла означает",
    "поворот конвертора",
    "соответственно",
    "{по/против} часовой",
    "стрелки при взгляде",
    "на ковертор со стороны",
    "отражателя.",
};

}  // namespace

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

QString Label2Text() {
  QStringList lines;
  for (const char* line : kLabel2Lines) lines << QString::fromUtf8(line);
  return lines.join(QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------------------------
// TabControl

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

// ---------------------------------------------------------------------------------------------
// TForm1: construction

TForm1::TForm1(FormOptions options)
    : QWidget(nullptr),
      options_(std::move(options)),
      report_(this, options_.error_sink ? options_.error_sink : ErrorSink(ShowErrorBox)),
      vos_grid_(MakeSunGrid()),
      sat_grid_(MakeSatGrid()),
      out_grid_(MakeOutageGrid({})) {
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
  setWindowIcon(QIcon(QStringLiteral(":/kelmar/kelmar.png")));
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

void TForm1::BuildControls() {
  // Fonts are made at their scaled pixel heights straight away; the geometry follows in
  // ApplyGeometry.
  auto font = [this](const char* family, int px, bool bold) { return MakeFont(family, ScaleCoord(px, v_), bold); };
  setFont(font("MS Sans Serif", kWindowFontPx, false));

  TabControl1 = Named(new TabControl(this, font("Tahoma", 13, true)), "TabControl1");
  StringGridVos = Named(new TextGridView(vos_grid_, TabControl1), "StringGridVos");
  StringGridVos->setFont(font("Tahoma", 13, true));
  StringGridVos->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) { StringGridVosDrawCell(p, c, r, rc); });
  StringGridSat = Named(new TextGridView(sat_grid_, TabControl1), "StringGridSat");
  StringGridSat->setFont(font("Tahoma", 13, true));
  StringGridSat->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) { StringGridSatDrawCell(p, c, r, rc); });
  pictures_ = std::make_unique<PictureTabs>(this, TabControl1->Tabs(), TabControl1, report_, [this] {
    const bool placed = !places_.Empty() && computed_;
    return PictureContext{ComputedFields(), placed ? computed_place_ : std::string(), st_.Year, st_.Month,
                          options_.clock(), export_dir_ + "/", names_};
  });
  pictures_->on_date_changed = [this] { outage_stale_ = true; };

  // Group boxes get their titles once their fonts are set: a title is measured as it is set.
  GroupBoxInput = Named(new QGroupBox(this), "GroupBoxInput");
  GroupBoxInput->setFont(font("Tahoma", 11, true));
  GroupBoxInput->setTitle(QStringLiteral("Населенные  пункты"));
  ComboBoxPunkt = Named(new QComboBox(GroupBoxInput), "ComboBoxPunkt");
  ComboBoxPunkt->setFont(font("Tahoma", 11, true));
  ComboBoxPunkt->setEditable(false);  // a list the keyboard searches, never free text
  ComboBoxPunkt->setMaxVisibleItems(35);
  EditPunkt = Named(new QLineEdit(QStringLiteral("EditPunkt"), GroupBoxInput), "EditPunkt");
  EditPunkt->setToolTip(QStringLiteral("\"В.Поляны\" или \" LO56CD...\""));
  EditPunkt->hide();
  LabelSir = Named(new QLabel(QStringLiteral("Широта ="), GroupBoxInput), "LabelSir");
  LabelSir->setAlignment(Qt::AlignRight | Qt::AlignTop);
  EditSir = Named(new QLineEdit(QStringLiteral("EditSir"), GroupBoxInput), "EditSir");
  EditSir->setFont(font("Tahoma", 11, true));
  LabelDolg = Named(new QLabel(QStringLiteral("Долгота ="), GroupBoxInput), "LabelDolg");
  LabelDolg->setAlignment(Qt::AlignRight | Qt::AlignTop);
  EditDolg = Named(new QLineEdit(QStringLiteral("EditDolg"), GroupBoxInput), "EditDolg");
  EditDolg->setFont(font("Tahoma", 11, true));
  ButtonNew = Named(new QPushButton(QString::fromUtf8(kCaptionAdd), GroupBoxInput), "ButtonNew");
  ButtonNew->setFont(font("Tahoma", 11, true));
  ButtonDelete = Named(new QPushButton(QStringLiteral("Удалить"), GroupBoxInput), "ButtonDelete");
  ButtonDelete->setFont(font("Tahoma", 11, true));

  ButtonExcel = Named(new QPushButton(QStringLiteral("В Excel"), this), "ButtonExcel");
  ButtonExcel->setFont(font("Tahoma", 11, true));

  // The note is made before GroupBox1 so that the group box lies on top of it.
  Label2 = Named(new QLabel(Label2Text(), this), "Label2");
  Label2->setFont(font("MS Sans Serif", 12, false));
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The caption's blue, dark enough to be read on the window's grey.
  SetTextColor(Label2, kNoteText);

  GroupBox1 = Named(new QGroupBox(this), "GroupBox1");
  // Untitled, yet its frame is worked out from a font: the one its groups have, already loaded.
  GroupBox1->setFont(font("Tahoma", 11, true));
  SetBackground(GroupBox1, kBtnFace);
  LabelY = Named(new QLabel(QStringLiteral("Год"), GroupBox1), "LabelY");
  LabelY->setFont(font("Tahoma", 24, true));
  LabelY->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  SetTextColor(LabelY, Qt::blue);
  SetBackground(LabelY, kActiveBorder);
  ScrollBarY = Named(new QScrollBar(Qt::Horizontal, GroupBox1), "ScrollBarY");
  ScrollBarY->setRange(1800, 2200);
  ScrollBarY->setSingleStep(1);
  ScrollBarY->setPageStep(10);
  ScrollBarY->setValue(2000);
  LabelM = Named(new QLabel(QStringLiteral("Месяц"), GroupBox1), "LabelM");
  LabelM->setFont(font("Tahoma", 16, true));
  LabelM->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  SetTextColor(LabelM, Qt::blue);
  SetBackground(LabelM, kActiveBorder);
  ScrollBarM = Named(new QScrollBar(Qt::Horizontal, GroupBox1), "ScrollBarM");
  ScrollBarM->setRange(1, 12);
  ScrollBarM->setSingleStep(1);
  ScrollBarM->setPageStep(6);
  ScrollBarM->setValue(10);

  GroupBoxTime = Named(new QGroupBox(GroupBox1), "GroupBoxTime");
  GroupBoxTime->setFont(font("Tahoma", 11, true));
  GroupBoxTime->setTitle(QStringLiteral("Время"));
  RadioButtonGMT = Named(new MouseUpRadioButton(QStringLiteral("GMT +"), GroupBoxTime), "RadioButtonGMT");
  EditGMT = Named(new QLineEdit(QStringLiteral("3"), GroupBoxTime), "EditGMT");
  Label7 = Named(new QLabel(QStringLiteral("час"), GroupBoxTime), "Label7");
  RadioButtonMSK = Named(new MouseUpRadioButton(QStringLiteral("MSK +"), GroupBoxTime), "RadioButtonMSK");
  RadioButtonMSK->setChecked(true);
  EditMSK = Named(new QLineEdit(QStringLiteral("0"), GroupBoxTime), "EditMSK");
  Label8 = Named(new QLabel(QStringLiteral("час"), GroupBoxTime), "Label8");
  ButtonTDown = Named(new QPushButton(QStringLiteral("<"), GroupBoxTime), "ButtonTDown");
  ButtonTDown->setFont(font("MS Sans Serif", 11, false));
  ButtonTUp = Named(new QPushButton(QStringLiteral(">"), GroupBoxTime), "ButtonTUp");
  ButtonTUp->setFont(font("MS Sans Serif", 11, false));
  CheckBoxSec = Named(new QCheckBox(QStringLiteral("с секундами"), GroupBoxTime), "CheckBoxSec");

  // The first letter of the caption is a Latin "C", as the window has always shown it.
  GroupBoxSumerki = Named(new QGroupBox(GroupBox1), "GroupBoxSumerki");
  GroupBoxSumerki->setFont(font("Tahoma", 11, true));
  GroupBoxSumerki->setTitle(QStringLiteral("Cумерки"));
  RadioButtonUgol = Named(new MouseUpRadioButton(QStringLiteral("    Угол"), GroupBoxSumerki), "RadioButtonUgol");
  RadioButtonUgol->setFont(font("Tahoma", 11, true));
  RadioButtonUgol->setChecked(true);
  EditUg = Named(new QLineEdit(QStringLiteral("6"), GroupBoxSumerki), "EditUg");
  EditUg->setFont(font("Tahoma", 11, true));
  LabelGr = Named(new QLabel(QStringLiteral("гр."), GroupBoxSumerki), "LabelGr");
  LabelGr->setFont(font("Tahoma", 11, true));
  RadioButtonVys = Named(new MouseUpRadioButton(QStringLiteral("Высота"), GroupBoxSumerki), "RadioButtonVys");
  RadioButtonVys->setFont(font("Tahoma", 11, true));
  EditKm = Named(new QLineEdit(QStringLiteral("12.345"), GroupBoxSumerki), "EditKm");
  EditKm->setFont(font("Tahoma", 11, true));
  LabelKm = Named(new QLabel(QStringLiteral("км"), GroupBoxSumerki), "LabelKm");
  LabelKm->setFont(font("Tahoma", 11, true));
  ButtonUgDown = Named(new QPushButton(QStringLiteral("<"), GroupBoxSumerki), "ButtonUgDown");
  ButtonUgDown->setFont(font("MS Sans Serif", 11, false));
  ButtonUgUp = Named(new QPushButton(QStringLiteral(">"), GroupBoxSumerki), "ButtonUgUp");
  ButtonUgUp->setFont(font("MS Sans Serif", 11, false));

  PageOut = Named(new QWidget(TabControl1), "PageOut");
  PageOut->hide();
  auto label = [&](const char* text, const char* name) {
    QLabel* l = Named(new QLabel(QString::fromUtf8(text), PageOut), name);
    l->setFont(font("Tahoma", 11, true));
    return l;
  };
  auto field = [&](const char* name, const std::string& text) {
    QLineEdit* e = Named(new QLineEdit(Q(text), PageOut), name);
    e->setFont(font("Tahoma", 11, true));
    return e;
  };
  const InputFields defaults;
  LabelSlot = label("Спутник", "LabelSlot");
  ESlot = field("ESlot", defaults.slot);
  ESlot->setToolTip(QStringLiteral("\"36 E\", \"5W\", \"19.2E\", \"0\", \"180\""));
  LabelDish = label("Антенна, м", "LabelDish");
  EDish = field("EDish", defaults.dish);
  LabelFreq = label("Частота, ГГц", "LabelFreq");
  EFreq = field("EFreq", defaults.frequency);
  LabelSlotName = label("", "LabelSlotName");
  SetTextColor(LabelSlotName, Qt::blue);
  LabelOutInfo = label("", "LabelOutInfo");
  LabelOutAlign = label("", "LabelOutAlign");
  LabelOutAlign->setToolTip(QStringLiteral("Когда Солнце стоит на азимуте спутника (встаньте лицом к Солнцу) "
                                           "или тень вертикального шеста указывает на спутник"));
  LabelOutNote = label("", "LabelOutNote");
  LabelOutNote->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  LabelOutCut = label("", "LabelOutCut");
  LabelOutCut->hide();
  StringGridOut = Named(new TextGridView(out_grid_, PageOut), "StringGridOut");
  StringGridOut->setFont(font("Tahoma", 13, true));
  StringGridOut->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) {
    DrawCell(p, rc, Q(out_grid_.Cell(c, r)), SunCellLook(r));
  });

  Label1 = Named(new QLabel(QStringLiteral("Kelmar для Linux\nQt 6, 2026"), this), "Label1");
  Label1->setFont(font("Arial", 11, true));
  Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
  SetTextColor(Label1, Qt::red);

  LabelMag = Named(new QLabel(this), "LabelMag");
  LabelMag->setFont(font("Tahoma", 10, false));
  LabelMag->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LabelMag->setWordWrap(true);
  SetTextColor(LabelMag, Qt::blue);
  CheckBoxMagAz = Named(new QCheckBox(QStringLiteral("Азимуты по компасу"), this), "CheckBoxMagAz");
  CheckBoxMagAz->setFont(font("Tahoma", 11, true));

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

  // The outage page covers the tables' place on the tab control.
  const Rect page = ScaleRect(FindControl("StringGridVos")->rect, v_);
  PageOut->setGeometry(page.left, page.top, page.width, page.height);
  struct Place {
    QWidget* w;
    Rect design;
  };
  const Place places[] = {
      {LabelSlot, {8, 9, 62, 16}},      {ESlot, {70, 6, 64, 0}},
      {LabelDish, {150, 9, 76, 16}},    {EDish, {226, 6, 40, 0}},
      {LabelFreq, {282, 9, 90, 16}},    {EFreq, {372, 6, 40, 0}},
      {LabelSlotName, {420, 9, 195, 16}},
      {LabelOutInfo, {8, 34, 600, 16}}, {LabelOutAlign, {8, 52, 600, 16}},
      {LabelOutNote, {8, 120, 600, 40}},
  };
  for (const Place& p : places) {
    if (const char* sample = WidestText(S(p.w->objectName())))
      FitFont(p.w, sample, ScaleRect(p.design, v_).width - kFieldFrame);
  }
  const int field_h = QFontMetrics(ESlot->font()).height() + 8;
  for (const Place& p : places) {
    const Rect r = ScaleRect(p.design, v_);
    p.w->setGeometry(r.left, r.top, r.width, r.height > 0 ? r.height : field_h);
  }
  const Rect grid = ScaleRect({0, 72, 615, 418}, v_);
  PlaceOutGrid();
  const Rect cut = ScaleRect({8, 472, 600, 16}, v_);
  LabelOutCut->setGeometry(cut.left, cut.top, cut.width, cut.height);
  StringGridOut->SetDefaultRowHeight(layout.sun.row_height);
  StringGridOut->SetColWidths(std::vector<int>(kOutageCols, (grid.width - 12) / kOutageCols));
  note_fitted_ = false;  // on the satellite tab, the only one where the note is not covered
  FitLabelMag();
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

void TForm1::FitLabelMag() {
  // The declination line takes what its text needs below the note, down to the window's edge; a
  // warning that reaches the credit's place hides the credit on this tab, and a text longer still
  // is set smaller.
  const Rect box = ScaleRect(FindControl("LabelMag")->rect, v_);
  const int room = ScaleCoord(kDesignClientHeight, v_) - ScaleCoord(2, v_) - box.top;
  QFont font = MakeFont("Tahoma", ScaleCoord(10, v_), false);
  LabelMag->setFont(font);
  while (LabelMag->heightForWidth(box.width) > room && font.pixelSize() > 8) {
    font.setPixelSize(font.pixelSize() - 1);
    LabelMag->setFont(font);
  }
  const int needed = LabelMag->heightForWidth(box.width);
  LabelMag->setGeometry(box.left, box.top, box.width, std::max(box.height, needed));
  mag_needs_credit_room_ = LabelMag->geometry().bottom() >= Label1->geometry().top();
  Label1->setVisible(TabControl1->TabIndex() != 1 || !mag_needs_credit_room_);
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
  auto guarded = [this](auto fn) { return [this, fn] { report_.Guarded([&] { (this->*fn)(); }); }; };

  connect(TabControl1->Tabs(), &QTabBar::currentChanged, this, [this](int) { report_.Guarded([this] { TabControl1Change(); }); });
  StringGridSat->SetDoubleClick([this](int col, int row) { report_.Guarded([&] { StringGridSatDblClick(col, row); }); });
  StringGridSat->SetCellTooltip([this](int col, int row) {
    const std::optional<int> slot = SatPositionAt(col, row);
    return slot ? Q(NamesAtSlot(names_, *slot)) : QString();
  });
  StringGridSat->SetContextMenu([this](int col, int row, const QPoint& at) {
    if (!SatPositionAt(col, row)) return;
    QMenu menu(this);
    const QAction* name = menu.addAction(QStringLiteral("Название…"));
    if (menu.exec(at) == name) report_.Guarded([&] { StringGridSatNameClick(col, row); });
  });
  // A held arrow or page area steps again and again; the error box takes the mouse release, so
  // a failing step (its table, the outage table or the picture shown) must end the repeat itself
  // or every OK brings the next box.
  auto guarded_steps = [this](QScrollBar* bar, void (TForm1::*fn)()) {
    return [this, bar, fn] {
      report_.Guarded([&] {
        try {
          (this->*fn)();
        } catch (...) {
          EndAutoRepeat(bar);
          throw;
        }
      });
    };
  };
  connect(ScrollBarY, &QScrollBar::valueChanged, this, guarded_steps(ScrollBarY, &TForm1::ScrollBarYChange));
  connect(ScrollBarM, &QScrollBar::valueChanged, this, guarded_steps(ScrollBarM, &TForm1::ScrollBarMChange));
  connect(ButtonTUp, &QPushButton::clicked, this, guarded(&TForm1::ButtonTUpClick));
  connect(ButtonTDown, &QPushButton::clicked, this, guarded(&TForm1::ButtonTDownClick));
  connect(ButtonUgUp, &QPushButton::clicked, this, guarded(&TForm1::ButtonUgUpClick));
  connect(ButtonUgDown, &QPushButton::clicked, this, guarded(&TForm1::ButtonUgDownClick));
  connect(CheckBoxSec, &QCheckBox::clicked, this, guarded(&TForm1::CheckBoxSecClick));
  connect(CheckBoxMagAz, &QCheckBox::clicked, this, guarded(&TForm1::CheckBoxMagAzClick));
  connect(ButtonNew, &QPushButton::clicked, this, guarded(&TForm1::ButtonNewClick));
  connect(ButtonDelete, &QPushButton::clicked, this, guarded(&TForm1::ButtonDeleteClick));
  connect(ButtonExcel, &QPushButton::clicked, this, guarded(&TForm1::ButtonExcelClick));
  // activated: the user picked an entry; the program's own selections do not raise it.
  connect(ComboBoxPunkt, &QComboBox::activated, this,
          [this](int index) { report_.Guarded([&] { ComboBoxPunktChange(index); }); });
  const std::pair<MouseUpRadioButton*, void (TForm1::*)()> mouse_up[] = {
      {RadioButtonGMT, &TForm1::RadioButtonGMTMouseUp},
      {RadioButtonMSK, &TForm1::RadioButtonMSKMouseUp},
      {RadioButtonUgol, &TForm1::RadioButtonUgolMouseUp},
      {RadioButtonVys, &TForm1::RadioButtonVysMouseUp},
  };
  for (const auto& [radio, handler] : mouse_up) radio->on_mouse_up = guarded(handler);
  const std::pair<QLineEdit*, void (TForm1::*)()> exits[] = {
      {EditSir, &TForm1::EditSirExit}, {EditDolg, &TForm1::EditDolgExit}, {EditGMT, &TForm1::EditGMTExit},
      {EditMSK, &TForm1::EditMSKExit}, {EditUg, &TForm1::EditUgExit},     {EditKm, &TForm1::EditKmExit},
      {ESlot, &TForm1::ESlotExit},     {EDish, &TForm1::EDishExit},       {EFreq, &TForm1::EFreqExit},
  };
  for (const auto& [edit, handler] : exits) edit->installEventFilter(new FocusOutFilter(edit, guarded(handler)));
  // The outage table follows its fields on Enter too, without leaving them.
  for (const auto& [edit, handler] : {exits[6], exits[7], exits[8]}) connect(edit, &QLineEdit::returnPressed, this, guarded(handler));
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
    WriteSunHeaders(vos_grid_);
    WriteSatHeaders(sat_grid_);
    // Numbers are read and written with "." whatever the user's regional settings.
    std::setlocale(LC_NUMERIC, "C");

    InputFields in = ReadFields();
    LoadedSettings loaded;
    try {
      loaded = LoadSettings(load_path_);
    } catch (const SettingsError&) {
      settings_unreadable_ = true;  // the close must not replace a file it never read
      throw;
    }
    ApplyLoadedSettings(loaded, places_, place_index_, in);
    pictures_->Horizons() = loaded.horizons;
    names_ = loaded.names;
    WriteFields(in);
    ShowPlaces();
    if (loaded.cut_short) {
      settings_unreadable_ = true;  // what follows the NUL would be lost
      report_.Report(CutShortMessage(load_path_));
    }
    if (const auto twins = CaseTwinsMessage(places_)) report_.Report(*twins);

    const QDateTime now = options_.clock();
    const QDate today = now.date();
    st_.CurDate = EncodeDate(today.year(), today.month(), today.day()) + now.time().msecsSinceStartOfDay() / 86400000.0;
    st_.Year = static_cast<std::uint16_t>(today.year());
    st_.Month = static_cast<std::uint16_t>(today.month());

    // The selectors' change handlers run when a position really moves, and their failures end
    // the start-up, so they are called here rather than through the signal.
    const int old_y = ScrollBarY->value();
    {
      const QSignalBlocker block(ScrollBarY);
      ScrollBarY->setValue(st_.Year);
    }
    if (ScrollBarY->value() != old_y) ScrollBarYChange();
    LabelY->setText(QString::number(st_.Year));

    const int old_m = ScrollBarM->value();
    {
      const QSignalBlocker block(ScrollBarM);
      ScrollBarM->setValue(st_.Month);
    }
    if (ScrollBarM->value() != old_m) ScrollBarMChange();
    LabelM->setText(Q(st_.Names.month_long[DecodeDate(st_.CurDate).month - 1]));

    RunCalc();
    RunSatel();
  });
}

// ---------------------------------------------------------------------------------------------
// Fields

// The window's edge: its controls onto the computations' inputs and back.
InputFields TForm1::ReadFields() const {
  InputFields in;
  in.latitude = S(EditSir->text());
  in.longitude = S(EditDolg->text());
  in.gmt_offset = S(EditGMT->text());
  in.msk_offset = S(EditMSK->text());
  in.twilight_angle = S(EditUg->text());
  in.twilight_height = S(EditKm->text());
  in.zone = RadioButtonGMT->isChecked() ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
  in.twilight = RadioButtonUgol->isChecked() ? TwilightKind::ByAngle : TwilightKind::ByHeight;
  in.seconds = CheckBoxSec->isChecked();
  in.slot = S(ESlot->text());
  in.dish = S(EDish->text());
  in.frequency = S(EFreq->text());
  in.compass = mag_az_choice_;
  return in;
}

InputFields TForm1::ComputedFields() const {
  InputFields in = computed_fields_;
  const InputFields now = ReadFields();
  in.slot = now.slot, in.dish = now.dish, in.frequency = now.frequency;
  in.compass = now.compass;
  return in;
}

void TForm1::WriteFields(const InputFields& in) {
  auto set = [](QLineEdit* e, const std::string& t) { SetFieldText(e, Q(t)); };
  set(EditSir, in.latitude);
  set(EditDolg, in.longitude);
  set(EditGMT, in.gmt_offset);
  set(EditMSK, in.msk_offset);
  set(EditUg, in.twilight_angle);
  set(EditKm, in.twilight_height);
  set(ESlot, in.slot);
  set(EDish, in.dish);
  set(EFreq, in.frequency);
  (in.FromMoscow() ? RadioButtonMSK : RadioButtonGMT)->setChecked(true);
  (in.ByAngle() ? RadioButtonUgol : RadioButtonVys)->setChecked(true);
  mag_az_choice_ = in.compass;
  CheckBoxMagAz->setChecked(mag_az_choice_ && CheckBoxMagAz->isEnabled());
}

void TForm1::ShowPlaces() {
  const QSignalBlocker block(ComboBoxPunkt);
  ComboBoxPunkt->clear();
  for (const Place& place : places_) ComboBoxPunkt->addItem(Q(place.name));
  ComboBoxPunkt->setCurrentIndex(places_.Empty() ? -1 : place_index_);
}

void TForm1::SetEntering(bool entering) {
  entering_ = entering;
  ButtonNew->setText(QString::fromUtf8(entering ? kCaptionDone : kCaptionAdd));
  EditPunkt->setVisible(entering);
  ComboBoxPunkt->setVisible(!entering);
  ButtonDelete->setEnabled(!entering);
}

// ---------------------------------------------------------------------------------------------
// Computations

void TForm1::RunCalc() {
  // Without a stored place there is nothing to compute for; the tables stay empty.
  if (places_.Empty()) return;
  if (options_.on_compute) options_.on_compute('C');
  const InputFields in = ReadFields();
  struct Repaint {
    TextGridView* grid;
    ~Repaint() { grid->Refresh(); }  // also the rows written before a failure
  } repaint{StringGridVos};
  Calc(st_, in, vos_grid_);
  computed_ = true;
  computed_fields_ = in;
  computed_place_ = S(ComboBoxPunkt->currentText());
  RunOutage();
  pictures_->Refresh();
}

void TForm1::RunSatel() {
  if (places_.Empty()) return;
  if (options_.on_compute) options_.on_compute('S');
  // Only ever after RunCalc succeeded, so the fields convert as they did then.
  const InputFields in = ComputedFields();
  std::string note;
  // The magnetic model is read only when its line is to be seen or the table needs it.
  declination_stale_ = TabControl1->TabIndex() != 1 && !in.compass;
  const std::optional<double> compass = declination_stale_ ? std::nullopt : ShowDeclination(in, note);
  sat_table_ = SatelliteSlots(ObserverFromFields(in), compass);
  FormatSatTable(sat_table_, sat_grid_);
  compass_note_ = note;
  StringGridSat->Refresh();
}

void TForm1::PlaceOutGrid() {
  // The line about cut times takes the bottom of the table's place while it shows.
  const Rect grid = ScaleRect({0, 72, 615, LabelOutCut->isVisibleTo(PageOut) ? 398 : 418}, v_);
  StringGridOut->setGeometry(grid.left, grid.top, grid.width, grid.height);
}

void TForm1::RunOutage() {
  outage_stale_ = TabControl1->TabIndex() != kOutageTab;
  if (outage_stale_ || places_.Empty() || !computed_) return;
  struct Show {
    TForm1* f;
    ~Show() {  // also after a failure: the table is then empty
      const bool rows = f->out_grid_.RowCount() > 1;
      f->StringGridOut->setVisible(rows);
      f->LabelOutNote->setVisible(!rows);
      f->LabelOutCut->setVisible(rows && !f->LabelOutCut->text().isEmpty());
      f->PlaceOutGrid();
      if (rows) f->StringGridOut->Resized();
    }
  } show{this};
  out_grid_ = MakeOutageGrid({});
  LabelOutInfo->clear();
  LabelOutAlign->clear();
  LabelOutNote->clear();
  LabelOutCut->clear();
  ShowSlotName();
  const InputFields in = ComputedFields();
  const OutageTable t = ComputeOutages(in, st_.Year);
  LabelOutInfo->setText(Q(OutageInfoLine(t)));
  if (t.visible) {
    const QDate d = pictures_->SkyDate();
    const AlignTable a = ComputeAlignment(in, pictures_->PlaceHorizon(computed_place_),
                                          {d.year(), d.month(), d.day()}, 1);
    LabelOutAlign->setText(Q(AlignLine(a.days[0])));
  }
  LabelOutNote->setText(Q(OutageNote(t, st_.Year)));
  if (HasCut(t)) LabelOutCut->setText(QString::fromUtf8(kOutageCutNote));
  out_grid_ = MakeOutageGrid(t);
}

std::optional<double> TForm1::ShowDeclination(const InputFields& in, std::string& note) {
  const QDate today = options_.clock().date();
  const CalendarDate date{today.year(), today.month(), today.day()};
  MagneticField field;
  std::string text;
  bool usable = false;
  try {
    field = MagneticForFields(in.latitude, in.longitude, date, magnetic_dir_);
    // The degrees and their side stay on one line when the label wraps.
    text = DeclinationLine(field, date);
    if (const std::size_t side = text.find("° "); side != std::string::npos) text.replace(side + 2, 1, "\u00A0");
    const CompassTrust trust = CompassTrustFor(field);
    if (const char* warning = CompassWarning(trust)) text += std::string("\n") + warning;
    usable = trust != CompassTrust::Unusable;
  } catch (const CalcError& e) {
    // No declination (a latitude beyond the poles, no model files): said here, never as an
    // error box, and the table stays as it always was.
    text = e.what();
  }
  LabelMag->setText(Q(text));
  FitLabelMag();
  // Where the compass is of no use the box shows unticked; the choice waits for a place where it works.
  CheckBoxMagAz->setEnabled(usable);
  CheckBoxMagAz->setChecked(usable && mag_az_choice_);
  if (!usable || !in.compass) return std::nullopt;
  note = CompassNote(field, date);
  return field.declination;
}

// ---------------------------------------------------------------------------------------------
// Tabs and drawing

void TForm1::Vid() {
  const int tab = TabControl1->TabIndex();
  const bool picture = pictures_->IsPictureTab(tab);
  const bool sun = tab != 1 && tab != kOutageTab && !picture;
  StringGridVos->setVisible(sun);
  StringGridSat->setVisible(tab == 1);
  PageOut->setVisible(tab == kOutageTab);
  // On the satellite tab the note beneath it shows; the outage table and the year chart need
  // its year, zone and twilight. The note is the satellite table's and has no place beside a
  // picture.
  GroupBox1->setVisible(sun || tab == kOutageTab || pictures_->IsYearTab(tab));
  Label2->setVisible(!picture);
  if (tab == 1 && !note_fitted_) FitNote();
  LabelMag->setVisible(tab == 1);
  Label1->setVisible(tab != 1 || !mag_needs_credit_room_);
  CheckBoxMagAz->setVisible(tab == 1);
  GroupBoxInput->setVisible(true);
  ButtonExcel->setVisible(!picture);  // the pictures have their own save button
  pictures_->Show(tab);
}

void TForm1::TabControl1Change() {
  Vid();
  if (outage_stale_) RunOutage();
  if (declination_stale_ && TabControl1->TabIndex() == 1 && !places_.Empty()) {
    std::string note;
    ShowDeclination(ReadFields(), note);  // the table already shows true azimuths, as it must
    declination_stale_ = false;
  }
}

std::optional<int> TForm1::SatPositionAt(int col, int row) const {
  const int i = SlotIndexAt(col, row);
  if (i < 0 || sat_grid_.Cell(SlotCellOf(i).col, row).empty()) return std::nullopt;
  return SlotEast(sat_table_.positions[static_cast<std::size_t>(i)].lon);
}

void TForm1::StringGridSatDblClick(int col, int row) {
  if (!SatPositionAt(col, row)) return;
  const std::string& slot = sat_grid_.Cell(SlotCellOf(SlotIndexAt(col, row)).col, row);
  SetFieldText(ESlot, Q(slot));
  outage_stale_ = true;
  TabControl1->Tabs()->setCurrentIndex(kOutageTab);  // computes the table on the way
  if (outage_stale_) RunOutage();
}

void TForm1::ShowSlotName() {
  const std::optional<double> slot = ParseSlot(S(ESlot->text()));
  LabelSlotName->setText(slot ? Q(NameOf(names_, *slot)) : QString());
}

void TForm1::StringGridSatNameClick(int col, int row) {
  const std::optional<int> slot = SatPositionAt(col, row);
  if (!slot) return;
  const double position = NamedPositionAt(names_, *slot);
  const QString question = QStringLiteral("Название позиции %1:").arg(Q(SlotText(position)));
  const QString old_name = Q(NameOf(names_, position));
  std::optional<QString> name;
  if (ask_name) {
    name = ask_name(question, old_name);
  } else {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, QStringLiteral("Название"), question, QLineEdit::Normal, old_name, &ok);
    if (ok) name = typed;
  }
  if (!name) return;
  SetSlotName(names_, position, S(*name));
  ShowSlotName();
  pictures_->Refresh();
}

void TForm1::StringGridVosDrawCell(QPainter& p, int col, int row, const QRect& rect) const {
  DrawCell(p, rect, Q(vos_grid_.Cell(col, row)), SunCellLook(row));
}

void TForm1::StringGridSatDrawCell(QPainter& p, int col, int row, const QRect& rect) const {
  const int i = SlotIndexAt(col, row);
  const bool below = i >= 0 && sat_table_.positions[static_cast<std::size_t>(i)].below_horizon;
  DrawCell(p, rect, Q(sat_grid_.Cell(col, row)), SatCellLook(col, row, below));
}

// ---------------------------------------------------------------------------------------------
// Input handlers

void TForm1::ScrollBarYChange() {
  st_.Year = static_cast<std::uint16_t>(ScrollBarY->value());
  st_.CurDate = EncodeDate(st_.Year, st_.Month, 1);
  LabelY->setText(QString::number(st_.Year));
  RunCalc();
}

void TForm1::ScrollBarMChange() {
  st_.Month = static_cast<std::uint16_t>(ScrollBarM->value());
  st_.CurDate = EncodeDate(st_.Year, st_.Month, 1);
  LabelM->setText(Q(st_.Names.month_long[st_.Month - 1]));
  RunCalc();
}

void TForm1::ButtonTUpClick() {
  QLineEdit* field = RadioButtonGMT->isChecked() ? EditGMT : EditMSK;
  SetFieldText(field, Q(StepZone(S(field->text()), true)));
  RunCalc();
}

void TForm1::ButtonTDownClick() {
  QLineEdit* field = RadioButtonGMT->isChecked() ? EditGMT : EditMSK;
  SetFieldText(field, Q(StepZone(S(field->text()), false)));
  RunCalc();
}

void TForm1::ButtonUgUpClick() {
  if (RadioButtonUgol->isChecked()) {
    SetFieldText(EditUg, Q(StepAngle(S(EditUg->text()), true)));
  } else {
    SetFieldText(EditKm, Q(StepHeight(S(EditKm->text()), true)));
  }
  RunCalc();
}

void TForm1::ButtonUgDownClick() {
  if (RadioButtonUgol->isChecked()) {
    SetFieldText(EditUg, Q(StepAngle(S(EditUg->text()), false)));
  } else {
    SetFieldText(EditKm, Q(StepHeight(S(EditKm->text()), false)));
  }
  RunCalc();
}

void TForm1::CheckBoxSecClick() { RunCalc(); }
void TForm1::CheckBoxMagAzClick() {
  mag_az_choice_ = CheckBoxMagAz->isChecked();
  RunSatel();
}

// The choice itself was made by the button; the table follows on the release of the mouse.
void TForm1::RadioButtonGMTMouseUp() { RunCalc(); }
void TForm1::RadioButtonMSKMouseUp() { RunCalc(); }
void TForm1::RadioButtonUgolMouseUp() { RunCalc(); }
void TForm1::RadioButtonVysMouseUp() { RunCalc(); }

void TForm1::CommaRule(QLineEdit* edit) {
  const QString fixed = Q(kelmar::CommaRule(S(edit->text())));
  if (fixed != edit->text()) SetFieldText(edit, fixed);
}

void TForm1::EditSirExit() { CommaRule(EditSir); }
void TForm1::EditDolgExit() { CommaRule(EditDolg); }
void TForm1::EditGMTExit() { CommaRule(EditGMT); }
void TForm1::EditMSKExit() { CommaRule(EditMSK); }
void TForm1::EditUgExit() { CommaRule(EditUg); }
void TForm1::EditKmExit() { CommaRule(EditKm); }

void TForm1::ESlotExit() {
  CommaRule(ESlot);
  RunOutage();
}

void TForm1::EDishExit() {
  CommaRule(EDish);
  RunOutage();
}

void TForm1::EFreqExit() {
  CommaRule(EFreq);
  RunOutage();
}

// ---------------------------------------------------------------------------------------------
// Places

void TForm1::ApplyOutcome(const PlaceOutcome& outcome) {
  switch (outcome.kind) {
    case MessageKind::None: break;
    case MessageKind::Error: report_.Report(outcome.message); return;
    case MessageKind::Information: Inform(Q(outcome.message)); return;
  }
  if (outcome.recompute == Recompute::SunThenSat) {
    RunCalc();
    RunSatel();
  }
}

void TForm1::ComboBoxPunktChange(int index) {
  InputFields in = ReadFields();
  const PlaceOutcome outcome = kelmar::ComboBoxPunktChange(places_, place_index_, in, index);
  WriteFields(in);
  ApplyOutcome(outcome);
}

void TForm1::ButtonNewClick() {
  const bool was_entering = entering_;
  InputFields in = ReadFields();
  std::string punkt = S(EditPunkt->text());
  const PlaceOutcome outcome = kelmar::ButtonNewClick(places_, place_index_, in, punkt, entering_);
  WriteFields(in);
  SetFieldText(EditPunkt, Q(punkt));
  ShowPlaces();
  SetEntering(outcome.entering);
  if (outcome.entering && !was_entering) EditPunkt->setFocus();
  ApplyOutcome(outcome);
}

void TForm1::ButtonDeleteClick() {
  const auto question = DeleteQuestion(places_, place_index_);
  if (!question) return;
  const bool yes = AskYesNo(Q(*question));
  InputFields in = ReadFields();
  const std::string name = S(ComboBoxPunkt->currentText());
  const int count = places_.Count();
  const PlaceOutcome outcome = kelmar::ButtonDeleteClick(places_, place_index_, in, yes);
  if (places_.Count() < count) pictures_->Horizons().erase(name);  // a deleted place's horizon goes with it
  WriteFields(in);
  ShowPlaces();
  ApplyOutcome(outcome);
}

void TForm1::ButtonExcelClick() {
#ifdef KELMAR_HAVE_EXPORT
  if (exporting_) return;
  // The export reads a copy taken now, of the tables and the fields and place they were computed
  // for: the window stays usable while the office works.
  struct Snapshot {
    TextGrid vos, sat, out;
    InputFields fields;
    std::string place, locator, compass_note;
    std::uint16_t month;
    int tab;
    int year;
    std::string out_note, out_cut_note;
  };
  auto snap = std::make_shared<const Snapshot>(Snapshot{vos_grid_, sat_grid_, out_grid_, ComputedFields(), computed_ ? computed_place_ : S(ComboBoxPunkt->currentText()),
                                                        st_.Locator, compass_note_, st_.Month, TabControl1->TabIndex(), st_.Year,
                                                        S(LabelOutNote->text()), S(LabelOutCut->text())});
  if (!worker_) worker_ = std::make_unique<WorkerThread>();
  exporting_ = true;
  ButtonExcel->setEnabled(false);
  setCursor(Qt::BusyCursor);
  worker_->Run(
      [this, snap] {
        if (!exporter_) exporter_ = MakeExporter();
        exporter_->ButtonExcelClick({snap->tab, snap->vos, snap->sat, snap->fields, snap->place, snap->locator,
                                     snap->month, data_dir_, export_dir_, &snap->out, snap->year, snap->out_note,
                                     snap->out_cut_note},
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

bool TForm1::AskYesNo(const QString& text) {
  return QMessageBox::warning(this, QStringLiteral("Warning"), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void TForm1::Inform(const QString& text) {
  QMessageBox::information(this, QStringLiteral("Information"), text, QMessageBox::Ok);
}

// ---------------------------------------------------------------------------------------------
// Close

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

bool TForm1::FormClose() {
  // An export still running ends first (its own time limits bound the wait) and reports.
  if (exporting_) {
    worker_->Wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  }
  // A new place still being entered is not part of the list yet and is not saved.
  if (settings_unreadable_) return AskYesNo(QString::fromUtf8(kCloseUnsaved));
  const bool saved = report_.Guarded([this] { SaveSettings(settings_path_, places_, place_index_, ReadFields(), &pictures_->Horizons(), &names_); });
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

// Where the pictures put the numbers: arc marks and the sunrise curve map back to the tables'
// values, the view faces the equator, hovering a mark names the table's cells; and their texts
// at every size a picture is drawn in, from the command line's smallest to a large screen: they
// grow with the picture, never shrink below a readable size, and never lie on one another.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <vector>

#include "pictures/pictures.h"

namespace kelmar::pictures {
namespace {

InputFields Place(const char* lat, const char* lon) {
  InputFields in;
  in.latitude = lat;
  in.longitude = lon;
  in.gmt_offset = "3";
  in.zone = ZoneKind::FromGmt;
  return in;
}

TEST(SkyFrame, FacesTheEquatorAndMapsBack) {
  const QSizeF size(1200, 600);
  struct Case {
    bool southern;
    double az_at_middle;
  } cases[] = {{false, 180}, {true, 0}};  // south in the north, north in the south
  for (const Case& c : cases) {
    const SkyFrame f(size, c.southern);
    EXPECT_DOUBLE_EQ(f.X(c.az_at_middle), f.left + f.width / 2);
    EXPECT_NEAR(f.Az(f.left + f.width / 2), c.az_at_middle, 1e-9);
    EXPECT_DOUBLE_EQ(f.Y(90), f.top);                 // the zenith at the top
    EXPECT_DOUBLE_EQ(f.Y(SkyFrame::kElMin), f.top + f.height);
  }
}

TEST(SkyScene, ArcMarksMapBackToTheTable) {
  const QSizeF size(900, 500);
  for (const auto& in : {Place("55.75", "37.62"), Place("-34.6", "-58.38")}) {
    const SkyScene s = MakeSkyScene(in, 2026, 3, 1, Horizon());
    const SkyFrame f(size, s.southern);
    int marks = 0;
    for (const ArcSlot& slot : s.arc) {
      if (std::isnan(slot.az)) continue;
      const QPointF at(f.X(slot.az), f.Y(slot.el));
      // Written as the table writes it: one decimal of the mark's place.
      EXPECT_EQ(QString::number(f.Az(at.x()), 'f', 1).toStdString(), slot.azimuth) << slot.label;
      EXPECT_EQ(QString::number(f.El(at.y()), 'f', 1).toStdString(), slot.elevation) << slot.label;
      ++marks;
    }
    EXPECT_EQ(marks, 160);
    // Hovering the highest mark names it with the table's own cells.
    const ArcSlot& top = *std::max_element(s.arc.begin(), s.arc.end(), [](auto& a, auto& b) { return a.el < b.el; });
    const QString tip = SkyTooltip(s, size, QPointF(f.X(top.az), f.Y(top.el)));
    EXPECT_TRUE(tip.startsWith(QString::fromStdString(top.label) + "\n")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromStdString(top.correction))) << tip.toStdString();
  }
}

TEST(SkyScene, PoleTextOnlyAtAPole) {
  struct Case {
    const char* lat;  // nullptr: a scene never computed
    const char* text;
  } cases[] = {
      {"55.75", "Видно позиций: 148 из 160"},
      {"89", "Спутники не видны у полюса"},
      {"-90", "Спутники не видны у полюса"},
      {nullptr, ""},  // no numbers behind it: no pole either
  };
  for (const Case& c : cases) {
    const SkyScene s = c.lat != nullptr ? MakeSkyScene(Place(c.lat, "37.62"), 2026, 3, 1, Horizon()) : SkyScene();
    EXPECT_EQ(SkyCountText(s).toStdString(), c.text) << (c.lat ? c.lat : "none");
  }
}

TEST(YearFrame, SunriseCurveMapsBackToTheHours) {
  const YearScene s = MakeYearScene(Place("55.75", "37.62"), 2026);
  const YearFrame f(QSizeF(1200, 600), static_cast<int>(s.days.size()));
  const DaylightDay& june21 = s.days[171];
  ASSERT_EQ(june21.rises.size(), 1u);
  const double y = f.Y(june21.rises[0]);
  EXPECT_NEAR((y - f.top) / f.height * 24, june21.rises[0], 1e-12);
  EXPECT_DOUBLE_EQ(f.X(0), f.left + f.width / 365 / 2);  // January 1 in its column's middle
}

// A paint device that only records where each text goes stands in for the screen.
struct Text {
  QString text;
  QRectF box;
  double px;
};

class TextRecorder : public QPaintDevice {
 public:
  explicit TextRecorder(QSize size) : size_(size), engine_(this) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  std::vector<Text> texts;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return size_.width();
      case PdmHeight: return size_.height();
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      default: return 1000;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    explicit Engine(TextRecorder* owner) : QPaintEngine(AllFeatures), owner_(owner) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
      if (state.state() & DirtyTransform) transform_ = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
      const QFontMetricsF fm(item.font());
      const QPointF p = transform_.map(at);
      // The ink of the text: from its baseline up by the ascent, as wide as its advance.
      owner_->texts.push_back({item.text(), QRectF(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(item.text()), fm.ascent()),
                               item.font().pixelSize() > 0 ? item.font().pixelSize() : item.font().pointSizeF() * 96 / 72});
    }
    Type type() const override { return User; }

   private:
    TextRecorder* owner_;
    QTransform transform_;
  };
  QSize size_;
  mutable Engine engine_;
};

TEST(PictureLabels, GrowWithThePictureAndNeverOverlap) {
  const QSize sizes[] = {{200, 200}, {400, 300}, {738, 560}, {1200, 600}, {1038, 800}, {1900, 1000}};
  // The equator (slots bunched at the horizon's ends, hours across the arc), Moscow, the south.
  const InputFields places[] = {Place("0", "-78.5"), Place("55.75", "37.62"), Place("-34.6", "-58.38")};
  for (const QSize size : sizes) {
    for (const InputFields& in : places) {
      SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) + " at " + in.latitude);
      SkyScene sky = MakeSkyScene(in, 2026, 3, 20, Horizon());
      sky.title = "Эквадор   20.03.2026   GMT+3";
      YearScene year = MakeYearScene(in, 2026);
      year.month = 3;
      year.title = "Эквадор   2026   GMT+3";
      for (const bool is_sky : {true, false}) {
        TextRecorder device(size);
        {
          QPainter p(&device);
          if (is_sky) {
            DrawSky(p, QSizeF(size), sky);
          } else {
            DrawYear(p, QSizeF(size), year);
          }
        }
        ASSERT_FALSE(device.texts.empty());
        const double smallest = 11 * TextScale(QSizeF(size));
        for (std::size_t i = 0; i < device.texts.size(); ++i) {
          const Text& a = device.texts[i];
          EXPECT_GE(a.px, std::floor(std::max(8.0, smallest - 1))) << a.text.toStdString();
          for (std::size_t j = i + 1; j < device.texts.size(); ++j) {
            const Text& b = device.texts[j];
            EXPECT_FALSE(a.box.intersects(b.box))
                << (is_sky ? "sky: '" : "year: '") << a.text.toStdString() << "' on '" << b.text.toStdString() << "'";
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelmar::pictures

int main(int argc, char** argv) {
  // Fonts need a GUI application; no screen is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

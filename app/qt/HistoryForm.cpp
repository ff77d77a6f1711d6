#include "app/qt/HistoryForm.h"

#include "base/qt/FormFont.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace nimbrel::gui {

namespace {

// The lines' colours: warm for the temperature, cool for the dew point; then pressure and wind.
const std::array<std::array<QColor, 2>, 3> SeriesColours = {{
    {QColor(0xC6, 0x28, 0x28), QColor(0x15, 0x65, 0xC0)},
    {QColor(0x6A, 0x1B, 0x9A), QColor()},
    {QColor(0x00, 0x79, 0x6B), QColor()},
}};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

const QString PointAtAChart = QStringLiteral("Point at a chart to see a report.");

QString TickText(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

THistoryChart::THistoryChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HistoryChart"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize THistoryChart::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.averageCharWidth() * 130, metrics.height() * 33};
}

QSize THistoryChart::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.averageCharWidth() * 50, metrics.height() * 18};
}

void THistoryChart::SetView(HistoryChartView view) {
    view_ = std::move(view);
    selected_.reset();
    update();
}

// Each chart gets a third of the height below its title line; the time labels sit under the
// last one. Margins follow the font, so the layout grows with it.
QRectF THistoryChart::PlotArea(int chart) const {
    const QFontMetrics metrics(font());
    const double line = metrics.height();
    const double left = metrics.horizontalAdvance(QStringLiteral("-0000.0")) + line / 2;
    const double right = metrics.horizontalAdvance(QStringLiteral("00:00")) / 2.0 + line / 2;
    const double bottom = line * 1.5;
    const double band = (height() - bottom) / 3.0;
    const double top = band * chart + line * 1.4;
    return QRectF(QPointF(left, top), QPointF(width() - right, band * (chart + 1) - line * 0.4));
}

double THistoryChart::X(std::int64_t time) const {
    const QRectF area = PlotArea(0);
    const double span = static_cast<double>(std::max<std::int64_t>(1, view_.To - view_.From));
    return area.left() + area.width() * static_cast<double>(time - view_.From) / span;
}

void THistoryChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int chart = 0; chart < 3; ++chart)
        PaintChart(painter, chart);
    // The time axis under the last chart, its grid through all three.
    const QRectF last = PlotArea(2);
    const QFontMetrics metrics(font());
    for (const TimeTick& tick : view_.TimeTicks) {
        const double x = X(tick.Time);
        const QString label = Text(tick.Label);
        const double width = metrics.horizontalAdvance(label);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPointF(x - width / 2, last.bottom() + metrics.height()), label);
    }
    if (selected_ && *selected_ < view_.Times.size()) {
        const double x = X(view_.Times[*selected_]);
        painter.setPen(QPen(QColor(0, 0, 0, 110), 1, Qt::DashLine));
        painter.drawLine(QPointF(x, PlotArea(0).top()), QPointF(x, last.bottom()));
    }
}

void THistoryChart::PaintChart(QPainter& painter, int chart) const {
    const HistoryChart& data = view_.Charts.at(static_cast<std::size_t>(chart));
    const QRectF area = PlotArea(chart);
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::WindowText);
    const QColor grid(0xE0, 0xE0, 0xE0);
    const double range = std::max(1e-9, data.Axis.Max - data.Axis.Min);
    const auto y = [&](double value) {
        return area.bottom() - area.height() * (value - data.Axis.Min) / range;
    };

    // Title and legend on the line above the plot.
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    const double baseline = area.top() - metrics.descent() - metrics.height() * 0.25;
    painter.drawText(QPointF(area.left(), baseline), Text(data.Title));
    double legend =
        area.left() + QFontMetrics(bold).horizontalAdvance(Text(data.Title)) + metrics.height();
    painter.setFont(font());
    if (data.Series.size() > 1)
        for (std::size_t series = 0; series < data.Series.size(); ++series) {
            const QColor colour = SeriesColours.at(static_cast<std::size_t>(chart)).at(series);
            const double middle = baseline - metrics.ascent() / 3.0;
            painter.setPen(QPen(colour, 2));
            painter.drawLine(QPointF(legend, middle), QPointF(legend + metrics.height(), middle));
            legend += metrics.height() * 1.3;
            painter.setPen(text);
            const QString name = Text(data.Series[series].Name);
            painter.drawText(QPointF(legend, baseline), name);
            legend += metrics.horizontalAdvance(name) + metrics.height();
        }

    // Grid and value labels.
    for (const double tick : data.Axis.Ticks) {
        const double at = y(tick);
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
        painter.setPen(text);
        const QString label = TickText(tick);
        painter.drawText(
            QPointF(area.left() - metrics.horizontalAdvance(label) - metrics.height() / 3.0,
                    at + metrics.ascent() / 2.0 - 1),
            label);
    }
    for (const TimeTick& tick : view_.TimeTicks) {
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(X(tick.Time), area.top()), QPointF(X(tick.Time), area.bottom()));
    }
    painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
    painter.drawRect(area);

    // The lines, one path per segment so a gap stays empty; a lone report is a dot.
    painter.save();
    painter.setClipRect(area.adjusted(-4, -4, 4, 4));
    for (std::size_t series = 0; series < data.Series.size(); ++series) {
        const QColor colour = SeriesColours.at(static_cast<std::size_t>(chart)).at(series);
        for (const auto& segment : data.Series[series].Segments) {
            if (segment.size() == 1) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(colour);
                painter.drawEllipse(QPointF(X(segment[0].Time), y(segment[0].Value)), 2.5, 2.5);
                continue;
            }
            QPainterPath path(QPointF(X(segment[0].Time), y(segment[0].Value)));
            for (std::size_t at = 1; at < segment.size(); ++at)
                path.lineTo(X(segment[at].Time), y(segment[at].Value));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(path);
        }
        // The selected report's value on this line.
        if (!selected_ || *selected_ >= view_.Times.size())
            continue;
        const std::int64_t time = view_.Times[*selected_];
        for (const auto& segment : data.Series[series].Segments)
            for (const ChartPoint& point : segment)
                if (point.Time == time) {
                    painter.setPen(QPen(Qt::white, 1.5));
                    painter.setBrush(colour);
                    painter.drawEllipse(QPointF(X(time), y(point.Value)), 4, 4);
                }
    }
    painter.restore();
}

void THistoryChart::Select(double x) {
    const QRectF area = PlotArea(0);
    if (view_.Times.empty() || area.width() <= 0)
        return;
    const double fraction = std::clamp((x - area.left()) / area.width(), 0.0, 1.0);
    const auto time = view_.From + static_cast<std::int64_t>(std::llround(
                                       fraction * static_cast<double>(view_.To - view_.From)));
    const auto nearest = NearestReport(view_, time);
    if (!nearest || nearest == selected_)
        return;
    selected_ = nearest;
    update();
    emit ReportSelected(*nearest);
}

void THistoryChart::mouseMoveEvent(QMouseEvent* event) {
    Select(event->position().x());
}

void THistoryChart::mousePressEvent(QMouseEvent* event) {
    Select(event->position().x());
}

THistoryForm::THistoryForm(THistory* history, const TSettings& settings, const Clock& clock,
                           QWidget* parent)
    : QDialog(parent), history_(history), settings_(settings), clock_(clock) {
    setObjectName(QStringLiteral("HistoryForm"));
    setWindowTitle(QStringLiteral("History"));
    setFont(FormFont());
    setSizeGripEnabled(true);
    Pages = new QTabBar(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setExpanding(false);
    SpanBox = new QComboBox(this);
    SpanBox->setObjectName(QStringLiteral("SpanBox"));
    for (const HistorySpan span : HistorySpans)
        SpanBox->addItem(Text(HistorySpanCaption(span)));
    Chart = new THistoryChart(this);
    LabelReport = new QLabel(this);
    LabelReport->setObjectName(QStringLiteral("LabelReport"));
    LabelReport->setTextFormat(Qt::PlainText);
    LabelReport->setText(PointAtAChart);
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    LabelCount->setTextFormat(Qt::PlainText);
    BtnClose = new QPushButton(QStringLiteral("Close"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));

    auto* top = new QHBoxLayout;
    top->addWidget(Pages, 1);
    auto* spanLabel = new QLabel(QStringLiteral("&Span:"), this);
    spanLabel->setBuddy(SpanBox);
    top->addWidget(spanLabel);
    top->addWidget(SpanBox);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelCount, 1);
    bottom->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Chart, 1);
    layout->addWidget(LabelReport);
    layout->addLayout(bottom);

    connect(Pages, &QTabBar::currentChanged, this, [this] { ShowPage(); });
    connect(SpanBox, &QComboBox::currentIndexChanged, this, [this] { ShowPage(); });
    connect(Chart, &THistoryChart::ReportSelected, this, &THistoryForm::ShowReport);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
}

void THistoryForm::showEvent(QShowEvent* event) {
    Reload();
    if (!sized_) {
        // Room for the charts, but never more than the screen holds.
        sized_ = true;
        QSize size = sizeHint();
        if (const QScreen* shown = screen())
            size = size.boundedTo(shown->availableGeometry().size() * 0.9);
        resize(size);
    }
    QDialog::showEvent(event);
}

std::int64_t THistoryForm::NowUtc() const {
    return UtcSeconds(clock_.UtcNow());
}

void THistoryForm::Reload() {
    const QString current =
        Pages->currentIndex() >= 0 ? Pages->tabData(Pages->currentIndex()).toString() : QString();
    pages_ =
        HistoryPages(settings_, history_ ? history_->Stations() : std::vector<HistoryStation>{});
    filling_ = true;
    while (Pages->count() > 0)
        Pages->removeTab(0);
    for (const HistoryPage& page : pages_) {
        const int index = Pages->addTab(Text(page.Caption));
        Pages->setTabData(index, Text(page.Code));
        if (Text(page.Code) == current)
            Pages->setCurrentIndex(index);
    }
    filling_ = false;
    ShowPage();
}

void THistoryForm::ShowPage() {
    if (filling_)
        return;
    const int index = Pages->currentIndex();
    const auto span =
        HistorySpans.at(static_cast<std::size_t>(std::max(0, SpanBox->currentIndex())));
    const std::int64_t now = NowUtc();
    if (index < 0 || static_cast<std::size_t>(index) >= pages_.size()) {
        records_.clear();
        Chart->SetView({});
        LabelCount->setText(history_ ? QStringLiteral("No station has reports yet.")
                                     : QStringLiteral("No history is kept."));
        return;
    }
    const HistoryPage& page = pages_[static_cast<std::size_t>(index)];
    records_ = history_ ? history_->Load(page.Code, now - HistorySpanSeconds(span))
                        : std::vector<THistoryRecord>{};
    const HistoryChartView view = BuildHistoryChartView(records_, span, now, page, settings_);
    LabelCount->setText(Text(view.CountLine));
    Chart->SetView(view);
    LabelReport->setText(PointAtAChart);
}

void THistoryForm::ShowReport(std::size_t index) {
    const int page = Pages->currentIndex();
    if (index >= records_.size() || page < 0)
        return;
    LabelReport->setText(
        Text(ReportReadout(records_[index], pages_[static_cast<std::size_t>(page)], settings_)));
}

} // namespace nimbrel::gui

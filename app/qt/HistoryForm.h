#pragma once
// The History window: one page per station, the three charts of a chosen span, the report under
// the pointer and how many reports the span holds. Built when first opened; it reads the
// history again at every opening, page or span change and refresh while it is shown.
#include "app/HistoryChart.h"
#include "base/Clock.h"
#include "history/History.h"
#include "settings/Settings.h"

#include <QDialog>
#include <QWidget>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace nimbrel::gui {

// The three charts above each other on one time axis, drawn with QPainter.
class THistoryChart : public QWidget {
    Q_OBJECT
public:
    explicit THistoryChart(QWidget* parent = nullptr);
    void SetView(HistoryChartView view);
    const HistoryChartView& View() const { return view_; }
    std::optional<std::size_t> Selected() const { return selected_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ReportSelected(std::size_t index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF PlotArea(int chart) const;
    double X(std::int64_t time) const;
    void PaintChart(class QPainter& painter, int chart) const;
    void Select(double x);

    HistoryChartView view_;
    std::optional<std::size_t> selected_;
};

class THistoryForm : public QDialog {
    Q_OBJECT
public:
    // history may be null: the program keeps none, and the window says so.
    THistoryForm(THistory* history, const TSettings& settings, const Clock& clock,
                 QWidget* parent = nullptr);

    // Reads the pages and the current page's reports again.
    void Reload();

    QTabBar* Pages;
    QComboBox* SpanBox;
    THistoryChart* Chart;
    QLabel* LabelReport;
    QLabel* LabelCount;
    QPushButton* BtnClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPage();
    void ShowReport(std::size_t index);
    std::int64_t NowUtc() const;

    THistory* history_;
    const TSettings& settings_;
    const Clock& clock_;
    std::vector<HistoryPage> pages_;
    std::vector<THistoryRecord> records_;
    bool filling_ = false;
    bool sized_ = false;
};

} // namespace nimbrel::gui

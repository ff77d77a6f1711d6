#include "app/qt/MainForm.h"

#include "app/DesktopRules.h"
#include "app/ParentWeatherInfo.h"
#include "app/WindowLayout.h"
#include "app/qt/Dialogs.h"
#include "app/qt/HistoryForm.h"
#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"
#include "help/HelpLoader.h"
#include "settings/LocationDatabase.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTextStream>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

namespace nimbrel::gui {

namespace {

// Design units (see DesignScale), counted from the top of the client area.
constexpr int WindowWidth = 686;
constexpr int PageControlLeft = 8;
constexpr int PageControlTop = 64;

QString Caption(const char* text) {
    return QString::fromUtf8(text);
}

// Tab captions are names the user typed: an ampersand is shown, not taken as an access key.
QString TabCaption(const std::string& caption) {
    return QString::fromStdString(caption).replace(QChar('&'), QStringLiteral("&&"));
}

QIcon MenuIcon(int index) {
    return PictureIcon(PicturePath(PictureList::Menu, index));
}

} // namespace

TMainForm::TMainForm(QtScheduler& scheduler, const Clock& clock, MainFormOptions options)
    : scheduler_(scheduler), clock_(clock), trayAvailable_(std::move(options.TrayAvailable)),
      showMessage_(std::move(options.ShowMessage)),
      reportWithoutDialog_(std::move(options.ReportWithoutDialog)),
      debugStatePath_(std::move(options.DebugStatePath)),
      // 3-5: the fetch state, the log and the timers (not running yet), the program's path.
      session_(scheduler, clock, *this,
               SessionOptions{std::move(options.SettingsPath), std::move(options.ExecutablePath),
                              std::move(options.Server), options.Watchdog, std::move(options.Pacer),
                              true, std::move(options.HistoryPath),
                              std::move(options.StoreHistoryThrough)}),
      historyForm_([this] {
          return std::make_unique<THistoryForm>(session_.History(), session_.Settings(), clock_,
                                                this);
      }) {
    // 2: the caption; the panels (1) wait for the window's first showing.
    setWindowTitle(Caption(ProductName));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // 4, 6-7: the balloon, actions with their pictures, the tray's menu.
    CreateActions();
    CreateTrayMenu();
    dialogs_ = std::make_unique<TDialogs>(this, session_.Settings(), session_.Log(),
                                          ProgramFolder(), showMessage_);
    TrayIcon = new TCoolTrayIcon(PopupActionMenuTrayIcon, this);
    BalloonHint = new TBalloonHint(*TrayIcon, scheduler_.CreateTimer(true), this);
    connect(TrayIcon, &TCoolTrayIcon::OnDblClick, this, &TMainForm::TrayIconDblClick);
    // 9-16: the settings, the window state they ask for, the layout, the first display without
    // reports, the first tab, the log line, the heartbeat and the clock timer.
    session_.StartUp({
        [this](const std::string& error) { ShowSettingsUnreadable(error); },
        [this] {
            IsFirstRun = session_.IsFirstRun();
            ChooseStartWindowState();
        },
        [this] { ArrangeLocationPanels(); },
        [this] {
            if (windowBuilt_)
                PageControl->setCurrentIndex(0);
        },
    });
    TrayIcon->SetIconVisible(true);
    if (windowShown_)
        EnsureWindowBuilt();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::EnsureWindowBuilt() {
    if (windowBuilt_)
        return;
    windowBuilt_ = true;
    CreatePanels();
    CreateMenuBars();
    setFont(FormFont());
    scale_ = DesignScaleForFont(font());
    ActionMainMenuBar->setFont(FormFont());
    unbuilt_.ReplayInto(*this);
    ArrangeLocationPanels();
    PageControl->setCurrentIndex(0);
    CenterOnScreen();
}

void TMainForm::setVisible(bool visible) {
    if (visible)
        EnsureWindowBuilt();
    QMainWindow::setVisible(visible);
}

void TMainForm::CenterOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    KeepOnScreen();
}

void TMainForm::CreatePanels() {
    StackedArea = new QScrollArea(this);
    StackedArea->setObjectName(QStringLiteral("StackedArea"));
    StackedArea->setFrameShape(QFrame::NoFrame);
    QPalette white = StackedArea->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    StackedArea->setPalette(white);
    setCentralWidget(StackedArea);
    PanelTop = new QWidget;
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setAutoFillBackground(true);
    PanelTop->setPalette(white);
    StackedArea->setWidget(PanelTop);
    PageControl = new QTabWidget(PanelTop);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        TabSheets[index] = new QWidget;
        TabSheets[index]->setObjectName(QStringLiteral("TabSheet%1").arg(slot));
        auto* layout = new QVBoxLayout(TabSheets[index]);
        layout->setContentsMargins(0, 0, 0, 0);
        PageControl->addTab(TabSheets[index], QString::fromStdString(DesignTabCaption(slot)));
        Panels[index] = new QWidget;
        Panels[index]->setObjectName(QStringLiteral("Panel%1").arg(slot));
        layout->addWidget(Panels[index]);
        auto* panelLayout = new QVBoxLayout(Panels[index]);
        panelLayout->setContentsMargins(0, 0, 0, 0);
        LocationForms[index] = new TParentWeatherInfoForm(slot, Panels[index]);
        panelLayout->addWidget(LocationForms[index]);
    }
    StatusBarPanel = new QLabel(this);
    StatusBarPanel->setObjectName(QStringLiteral("StatusBar"));
    StatusBarPanel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(StatusBarPanel, 1);
    statusBar()->setSizeGripEnabled(false);
}

void TMainForm::CreateActions() {
    const auto action = [this](const char* name, const char* caption, int image) {
        auto* created = new QAction(Caption(caption), this);
        created->setObjectName(Caption(name));
        if (image >= 0)
            created->setIcon(MenuIcon(image));
        return created;
    };
    AMChangeWindowState = action("AMChangeWindowState", "", -1);
    AMFileExit = action("AMFileExit", "&Exit", -1);
    AMWeatherGetWeatherReport = action("AMWeatherGetWeatherReport", "&Get weather report", 7);
    AMPreferences = action("AMPreferences", "&Preferences...", 5);
    AMLog = action("AMLog", "&View log...", 6);
    AMHistory = action("AMHistory", "&History...", -1);
    AMHelpReadMe = action("AMHelpReadMe", "&Help", 3);
    AMHelpReadMe->setShortcut(QKeySequence(Qt::Key_F1));
    AMHelpAbout = action("AMHelpAbout", "&About...", 0);
    UpdateWindowStateAction();

    connect(AMChangeWindowState, &QAction::triggered, this,
            &TMainForm::ActionChangeWindowStateExecute);
    connect(AMFileExit, &QAction::triggered, this, &TMainForm::ActionFileExitExecute);
    connect(AMWeatherGetWeatherReport, &QAction::triggered, this,
            &TMainForm::AMWeatherGetWeatherReportExecute);
    connect(AMPreferences, &QAction::triggered, this, &TMainForm::ActionToolsPreferencesExecute);
    connect(AMLog, &QAction::triggered, this, &TMainForm::ActionToolsLogExecute);
    connect(AMHistory, &QAction::triggered, this, &TMainForm::ActionToolsHistoryExecute);
    connect(AMHelpReadMe, &QAction::triggered, this, &TMainForm::ActionHelpReadMeExecute);
    connect(AMHelpAbout, &QAction::triggered, this, &TMainForm::ActionHelpAboutExecute);
}

void TMainForm::CreateTrayMenu() {
    PopupActionMenuTrayIcon = new QMenu(this);
    PopupActionMenuTrayIcon->setObjectName(QStringLiteral("PopupActionMenuTrayIcon"));
    PopupActionMenuTrayIcon->addAction(AMWeatherGetWeatherReport);
    PopupActionMenuTrayIcon->addSeparator();
    PopupActionMenuTrayIcon->addActions({AMChangeWindowState, AMFileExit});
}

void TMainForm::CreateMenuBars() {
    ActionMainMenuBar = menuBar();
    ActionMainMenuBar->setObjectName(QStringLiteral("ActionMainMenuBar"));
    QMenu* file = ActionMainMenuBar->addMenu(QStringLiteral("&File"));
    file->addActions({AMChangeWindowState, AMFileExit});
    ActionMainMenuBar->addMenu(QStringLiteral("&Weather"))->addAction(AMWeatherGetWeatherReport);
    ActionMainMenuBar->addMenu(QStringLiteral("&Tools"))
        ->addActions({AMPreferences, AMLog, AMHistory});
    ActionMainMenuBar->addMenu(QStringLiteral("&Help"))->addActions({AMHelpReadMe, AMHelpAbout});

    ActionToolBar = addToolBar(QStringLiteral("ActionToolBar"));
    ActionToolBar->setObjectName(QStringLiteral("ActionToolBar"));
    ActionToolBar->setMovable(false);
    ActionToolBar->setFloatable(false);
    ActionToolBar->setIconSize(QSize(16, 16));
    ActionToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ActionToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    ActionToolBar->addAction(AMWeatherGetWeatherReport);
    ActionToolBar->addSeparator();
    ActionToolBar->addActions({AMPreferences, AMLog});
    setContextMenuPolicy(Qt::NoContextMenu);
}

void TMainForm::ShowSettingsUnreadable(const std::string& error) {
    showMessage_(nullptr, QMessageBox::Warning,
                 QStringLiteral("%1\n\nNimbrel starts with its default settings and will "
                                "not change the settings file.")
                     .arg(QString::fromStdString(error)));
}

void TMainForm::ChooseStartWindowState() {
    const bool minimize = session_.Settings().MinimizeOnStartup;
    switch (InitialWindowState(IsFirstRun, minimize, TrayAvailable())) {
    case StartWindowState::Shown:
        windowShown_ = true;
        break;
    case StartWindowState::HiddenInTray:
        windowShown_ = false;
        break;
    case StartWindowState::Minimized:
        windowShown_ = true;
        setWindowState(Qt::WindowMinimized);
        break;
    }
    UpdateWindowStateAction();
}

std::string TMainForm::ProgramFolder() const {
    return std::filesystem::path(session_.ExecutablePath()).parent_path().string();
}

bool TMainForm::TrayAvailable() const {
    return trayAvailable_ ? trayAvailable_() : QSystemTrayIcon::isSystemTrayAvailable();
}

// --- window state ---------------------------------------------------------------------------

void TMainForm::UpdateWindowStateAction() {
    const WindowStateAction next = WindowStateCaption(windowShown_);
    AMChangeWindowState->setText(QStringLiteral("&") + QString::fromStdString(next.Caption));
    AMChangeWindowState->setToolTip(QString::fromStdString(next.Hint));
}

void TMainForm::ShowMainWindow() {
    windowShown_ = true;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    for (TParentWeatherInfoForm* form : LocationForms)
        form->show();
    raise();
    activateWindow();
    UpdateWindowStateAction();
}

void TMainForm::HideMainWindow() {
    if (HideMainWindowAction(TrayAvailable()) == HideAction::Minimize) {
        showMinimized();
        return;
    }
    windowShown_ = false;
    hide();
    UpdateWindowStateAction();
    WriteDebugState();
}

void TMainForm::ActionChangeWindowStateExecute() {
    if (isVisible())
        HideMainWindow();
    else
        ShowMainWindow();
}

void TMainForm::TrayIconDblClick() {
    ActionChangeWindowStateExecute();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    HideMainWindow();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateWindowStateAction();
    WriteDebugState();
    // The window's own icon, not the application's: the dialogs it owns take it from it, and the
    // tray's hidden window, which would draw it at start-up for nothing, does not. Its four
    // sizes are drawn once the window is on screen.
    if (windowIcon().isNull())
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(ProgramIcon()); }, Qt::QueuedConnection);
    // Once framed, the window's real borders decide how tall it may be.
    QMetaObject::invokeMethod(this, &TMainForm::FitWindow, Qt::QueuedConnection);
    if (!IsFirstRun)
        return;
    // The welcome waits until the window is on screen; until it is closed the tray is deaf.
    IsFirstRun = false;
    TrayIcon->SetEnabled(false);
    QMetaObject::invokeMethod(this, &TMainForm::ShowWelcome, Qt::QueuedConnection);
}

void TMainForm::ShowWelcome() {
    showMessage_(this, QMessageBox::Information, PlainText(WelcomeText()));
    TrayIcon->SetEnabled(true);
}

// --- layout -----------------------------------------------------------------------------------

void TMainForm::ArrangeLocationPanels() {
    if (!windowBuilt_)
        return; // building the window arranges them
    arrangement_ = nimbrel::ArrangeLocationPanels(session_.Settings());
    // Every panel starts from its tab; the stacked view then takes out the ones it places.
    DockPanelsInTabs();
    StackPanels();
    PageControl->setVisible(arrangement_.PageControlVisible);
    FitWindow();
}

void TMainForm::DockPanelsInTabs() {
    for (std::size_t index = 0; index < Panels.size(); ++index) {
        if (TabSheets[index]->layout()->indexOf(Panels[index]) < 0)
            TabSheets[index]->layout()->addWidget(Panels[index]);
        Panels[index]->show();
    }
}

void TMainForm::StackPanels() {
    for (const PanelPlacement& placement : arrangement_.StackedPanels) {
        QWidget* panel = Panels[static_cast<std::size_t>(placement.Slot - 1)];
        panel->setParent(PanelTop);
        panel->show();
    }
}

int TMainForm::ContentWidth() const {
    int panels = 0;
    for (const TParentWeatherInfoForm* form : LocationForms)
        panels = std::max(panels, form->RequiredWidth());
    if (!arrangement_.PageControlVisible)
        return std::max(scale_.X(WindowWidth), panels + 2 * scale_.X(StackedPanelLeft));
    // Every tab shows its whole caption: the tabs never scroll.
    const int frame =
        2 * PageControl->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, PageControl);
    const int pages = std::max(PageControl->tabBar()->sizeHint().width(), panels) + frame;
    return std::max(scale_.X(WindowWidth), pages + 2 * scale_.X(PageControlLeft));
}

QMargins TMainForm::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (frame != client)
        return {client.left() - frame.left(), client.top() - frame.top(),
                frame.right() - client.right(), frame.bottom() - client.bottom()};
    // Not yet framed by the window manager: allow for a title bar and thin borders.
    const int border = 4;
    return {border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

void TMainForm::FitWindow() {
    const int designHeight = scale_.Y(arrangement_.WindowHeight);
    const int contentWidth = ContentWidth();
    PixelSize fitted{contentWidth, designHeight};
    if (const QScreen* shownOn = screen()) {
        const QRect available = shownOn->availableGeometry().marginsRemoved(FrameMargins());
        fitted = FitToArea(fitted, {available.width(), available.height()},
                           {StackedArea->verticalScrollBar()->sizeHint().width(),
                            StackedArea->horizontalScrollBar()->sizeHint().height()});
    }
    const QSize before = size();
    setFixedSize(fitted.Width, fitted.Height);
    layout()->activate();
    LayOutPanelTop(contentWidth, designHeight);
    // Only a window that changed size may need moving: one the user placed stays where it is.
    if (size() != before)
        KeepOnScreen();
}

void TMainForm::LayOutPanelTop(int contentWidth, int designHeight) {
    // The design counts from the top of the client area, above the menu and tool bars;
    // PanelTop starts below them.
    const int panelTop = StackedArea->y();
    const int stackedTop = std::max(0, scale_.Y(StackedFirstTop) - panelTop);
    const int stackedBottom =
        stackedTop +
        scale_.Y(static_cast<int>(arrangement_.StackedPanels.size()) * DesignPanelHeight);
    PanelTop->resize(contentWidth,
                     std::max(designHeight - panelTop - statusBar()->height(), stackedBottom));
    if (arrangement_.PageControlVisible) {
        const int top = std::max(0, scale_.Y(PageControlTop) - panelTop);
        const int left = scale_.X(PageControlLeft);
        PageControl->setGeometry(left, top, PanelTop->width() - 2 * left,
                                 PanelTop->height() - top - left);
    }
    for (const PanelPlacement& placement : arrangement_.StackedPanels) {
        QWidget* panel = Panels[static_cast<std::size_t>(placement.Slot - 1)];
        const int left = scale_.X(placement.Left);
        panel->setGeometry(left, stackedTop + scale_.Y(placement.Top - StackedFirstTop),
                           PanelTop->width() - 2 * left, scale_.Y(DesignPanelHeight));
    }
}

void TMainForm::KeepOnScreen() {
    const QScreen* shownOn = screen();
    if (!shownOn)
        return;
    const QRect available = shownOn->availableGeometry();
    const QMargins margins = FrameMargins();
    const QRect frame = geometry().marginsAdded(margins);
    const int left =
        ClampIntoArea(frame.left(), frame.width(), available.left(), available.width());
    const int top = ClampIntoArea(frame.top(), frame.height(), available.top(), available.height());
    if (left != frame.left() || top != frame.top())
        move(left, top);
}

// --- refresh ----------------------------------------------------------------------------------

void TMainForm::LocationsUpdated() {
    // A report line or a tab caption wider than the design made room for widens the window.
    if (windowBuilt_)
        FitWindow();
    WriteDebugState();
}

// --- commands ---------------------------------------------------------------------------------

void TMainForm::ActionFileExitExecute() {
    // exit(), not quit(): quit() first asks the windows to close, which only hides this one.
    // It also ends the loop of a dialog that is open now.
    QCoreApplication::exit(0);
}

void TMainForm::EndSession() {
    sessionEnding_ = true;
    ActionFileExitExecute();
}

void TMainForm::AMWeatherGetWeatherReportExecute() {
    session_.StartGetWeatherReport();
}

void TMainForm::ActionToolsPreferencesExecute() {
    dialogs_->ExecutePreferences({
        [this] { ArrangeLocationPanels(); },
        [this] { session_.SaveSettings(); },
        [this] { session_.ResetRefreshTimer(); },
        [this] { session_.StartGetWeatherReport(); },
    });
}

void TMainForm::ActionToolsLogExecute() {
    dialogs_->ExecuteLog();
}

// Not modal: the window stays open beside the main window and follows each new run.
void TMainForm::ActionToolsHistoryExecute() {
    historyForm_->show();
    historyForm_->raise();
    historyForm_->activateWindow();
}

void TMainForm::HistoryStored() {
    if (historyForm_.Built() && historyForm_->isVisible())
        historyForm_->Reload();
}

void TMainForm::ActionHelpReadMeExecute() {
    dialogs_->ShowHelp();
}

void TMainForm::ActionHelpAboutExecute() {
    dialogs_->ExecuteAbout();
}

// --- MainView ---------------------------------------------------------------------------------

void TMainForm::SetStatusText(const std::string& text) {
    if (!windowBuilt_) {
        unbuilt_.SetStatusText(text);
        return;
    }
    StatusBarPanel->setText(PlainText(text));
}

void TMainForm::SetTrayHint(const std::string& hint) {
    TrayIcon->SetHint(hint);
    WriteDebugState();
}

void TMainForm::SetTrayAnimation(bool on) {
    TrayIcon->SetCycleIcons(on);
}

void TMainForm::SetTrayIconIndex(int imageIndex) {
    TrayIcon->SetPicture(PicturePath(PictureList::Weather, imageIndex));
}

void TMainForm::ShowBalloon(const std::string& title, const std::string& text) {
    BalloonHint->ShowBalloon(title, text, TCoolTrayIcon::BalloonKind::Information);
}

void TMainForm::SetBusyCursor(bool busy) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, busy] { SetBusyCursor(busy); }, Qt::QueuedConnection);
        return;
    }
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TMainForm::SetTab(int slot, bool visible, const std::string& caption) {
    if (!windowBuilt_) {
        unbuilt_.SetTab(slot, visible, caption);
        return;
    }
    PageControl->setTabText(slot - 1, TabCaption(caption));
    SetTabVisible(slot, visible);
}

void TMainForm::SetTabVisible(int slot, bool visible) {
    if (!windowBuilt_) {
        unbuilt_.SetTabVisible(slot, visible);
        return;
    }
    PageControl->setTabVisible(slot - 1, visible);
}

void TMainForm::SetLocalTime(int slot, const std::string& text) {
    if (!windowBuilt_) {
        unbuilt_.SetLocalTime(slot, text);
        return;
    }
    LocationForms[static_cast<std::size_t>(slot - 1)]->SetLocalTime(text);
}

void TMainForm::ShowPanel(int slot, const PanelModel& panel) {
    if (!windowBuilt_) {
        unbuilt_.ShowPanel(slot, panel);
        return;
    }
    LocationForms[static_cast<std::size_t>(slot - 1)]->ShowPanel(panel);
}

// --- shutdown ---------------------------------------------------------------------------------

void TMainForm::ReportSaveFailure(const std::string& error) {
    if (sessionEnding_)
        reportWithoutDialog_(error);
    else
        showMessage_(nullptr, QMessageBox::Critical, QString::fromStdString(error));
}

void TMainForm::FormDestroy() {
    if (destroyed_)
        return;
    destroyed_ = true;
    session_.Shutdown({
        [this](const std::function<void()>& wait) { scheduler_.ServeWhile(wait); },
        [this](const std::string& error) { ReportSaveFailure(error); },
    });
    scheduler_.StopServing();
    TrayIcon->SetIconVisible(false);
    if (busy_)
        SetBusyCursor(false);
}

// --- debug state ------------------------------------------------------------------------------

void TMainForm::WriteDebugState() const {
    if (debugStatePath_.empty())
        return;
    QFile file(QString::fromStdString(debugStatePath_));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    const auto oneLine = [](QString text) {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\\r\\n"));
    };
    QTextStream out(&file);
    out << "platform=" << QGuiApplication::platformName() << '\n'
        << "windowVisible=" << (isVisible() ? 1 : 0) << '\n'
        << "trayKind="
        << (TrayIcon->Kind() == TrayKind::StatusNotifierItem ? "StatusNotifierItem" : "Embedded")
        << '\n'
        << "trayAvailable=" << (QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0) << '\n'
        << "trayVisible=" << (TrayIcon->IconVisible() ? 1 : 0) << '\n'
        << "trayIconIndex=" << session_.Refresh().TrayIconIndex() << '\n'
        << "trayHint=" << oneLine(QString::fromStdString(TrayIcon->Hint())) << '\n'
        << "trayTip=" << oneLine(TrayIcon->Tip()) << '\n'
        << "status="
        << (windowBuilt_ ? StatusBarPanel->text() : PlainText(unbuilt_.Status().value_or("")))
        << '\n'
        << "connectionInProgress=" << (session_.Controller().ConnectionInProgress() ? 1 : 0)
        << '\n';
    // Where the program found its data, so an installed copy can be checked against its prefix.
    const std::string folder = ProgramFolder();
    out << "databaseFolder=" << QString::fromStdString(FindDatabaseFolder(folder).value_or(""))
        << '\n'
        << "helpFile=" << QString::fromStdString(FindHelpFile(folder).value_or("")) << '\n';
    for (int slot = 1; slot <= LocationSlotCount; ++slot)
        out << "panel" << slot << '=' << PanelSummary(slot) << '\n';
}

// The panel's name, time, sky and temperature as it shows them, or will once the window is built.
QString TMainForm::PanelSummary(int slot) const {
    QStringList parts;
    if (windowBuilt_) {
        const TParentWeatherInfoForm* form = LocationForms[static_cast<std::size_t>(slot - 1)];
        parts = {form->LabelLocationName->text(), form->LabelTime->text(), form->LabelCover->text(),
                 form->LabelTemperature->text()};
    } else {
        const PanelModel panel = unbuilt_.Panel(slot).value_or(InitialPanel());
        parts = {PlainText(panel.LabelLocationName), PlainText(panel.LabelTime),
                 PlainText(panel.LabelCover), PlainText(panel.LabelTemperature)};
    }
    return parts.join(QStringLiteral(" | "));
}

} // namespace nimbrel::gui

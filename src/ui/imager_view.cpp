#include "ui/imager_view.h"

#include <QKeyEvent>
#include <QPainter>

#include "display/qt/default_font.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/string_resources.h"

namespace {

SpotDirection SpotDirectionOf(ViewKey arrow) {
    switch (arrow) {
        case ViewKey::kLeft:
            return SpotDirection::kLeft;
        case ViewKey::kUp:
            return SpotDirection::kUp;
        case ViewKey::kRight:
            return SpotDirection::kRight;
        default:
            return SpotDirection::kDown;
    }
}

QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

const QColor ImagerView::kBackground(192, 192, 192);

ImagerView::ImagerView(ImagerDocument& document, const Services& services, QWidget* parent)
    : QWidget(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("ImagerView"));
    setFixedSize(kWidth, kHeight);
    setFont(DefaultControlFont());
    setFocusPolicy(Qt::StrongFocus);
    thermalImage_.SetStringResources(&services_.strings);
    rangeBar_.SetStringResources(&services_.strings);
    batteryGauge_.SetResources(&services_.strings, &services_.icons);
    document_.AddView(this);
}

ImagerView::~ImagerView() {
    document_.RemoveView(this);
}

// --- initial update ---------------------------------------------------------------------

void ImagerView::CreateScreen() {
    CreateDisplayControls();
    InitialiseDisplayControls();
    buttons_.Create(*this, services_.strings, services_.icons);
    commands_.Connect();
    initialised_ = true;
    ShowLiveRow();
    setFocus();
}

void ImagerView::CreateDisplayControls() {
    const std::array<std::pair<QWidget*, QRect>, 4> controls{{
        {&thermalImage_, FromEdges(1, 1, 197, 197)},
        {&colourScale_, FromEdges(199, 1, 239, 197)},
        {&rangeBar_, FromEdges(1, 199, 197, 234)},
        {&batteryGauge_, FromEdges(199, 199, 239, 234)},
    }};
    int id = 101;
    for (const auto& [control, place] : controls) {
        control->setParent(this);
        control->setObjectName(QString::number(id++));
        control->setGeometry(place);
        control->show();
    }
}

void ImagerView::InitialiseDisplayControls() {
    const ImagerDocument& d = document_;
    state_.paletteNumber = d.PaletteNumber();
    state_.spanLow = static_cast<std::int16_t>(d.SpanLow());
    state_.spanHigh = static_cast<std::int16_t>(d.SpanHigh());
    state_.spots = {d.SpotPosition(0), d.SpotPosition(1)};
    state_.emissivity = d.Emissivity();
    state_.unit = d.TemperatureUnit();
    state_.secondSpotShown = d.IsSecondSpotShown();
    state_.background = d.BackgroundTemperature();
    thermalImage_.Initialise(&palettes_, state_, d.DisplayFrame(), interpolated_);
    thermalImage_.SetHeadAbsent(d.IsHeadAbsent());
    rangeBar_.Initialise(static_cast<std::int16_t>(d.RangeLow()),
                         static_cast<std::int16_t>(d.RangeHigh()), state_);
    colourScale_.Initialise(&palettes_, state_);
}

int ImagerView::ControlId(Button which) {
    return ButtonRow::ControlId(which);
}

// --- update flags ----------------------------------------------------------------------

void ImagerView::ShowChanges(std::uint32_t hint) {
    if (!initialised_) {
        // Nothing to show yet: CreateScreen takes what a file read at start-up brought.
        return;
    }
    if (hint & update_flag::kFrame) {
        UpdateFrame();
    }
    if (hint & update_flag::kSpots) {
        UpdateSpots();
    }
    if (hint & update_flag::kSpan) {
        UpdateSpan();
    }
    if (hint & update_flag::kCorrection) {
        UpdateCorrections();
    }
    if (hint & update_flag::kUnit) {
        UpdateUnit();
    }
    if (hint & update_flag::kPalette) {
        UpdatePalette();
    }
    if (hint & update_flag::kSecondSpot) {
        UpdateSecondSpot();
    }
    if (hint & update_flag::kBattery) {
        batteryGauge_.Refresh();
    }
    if (hint & update_flag::kBlink) {
        UpdateBlink();
    }
    if (hint & update_flag::kSnapshot) {
        UpdateSnapshotStatus();
    }
    if (hint & update_flag::kRange) {
        UpdateRangeLimits();
    }
    if (hint & update_flag::kHead) {
        thermalImage_.SetHeadAbsent(document_.IsHeadAbsent());
    }
    emit ChangesShown(hint);
}

void ImagerView::UpdateFrame() {
    thermalImage_.SetFrame(document_.DisplayFrame());
}

void ImagerView::ShowState() {
    thermalImage_.SetState(state_);
    colourScale_.SetState(state_);
    rangeBar_.SetState(state_);
}

void ImagerView::UpdateSpots() {
    // Spot 2 keeps its last place while it is hidden.
    state_.spots[0] = document_.SpotPosition(0);
    if (document_.IsSecondSpotShown()) {
        state_.spots[1] = document_.SpotPosition(1);
    }
    ShowState();
}

void ImagerView::UpdateSpan() {
    state_.spanLow = static_cast<std::int16_t>(document_.SpanLow());
    state_.spanHigh = static_cast<std::int16_t>(document_.SpanHigh());
    ShowState();
}

void ImagerView::UpdateCorrections() {
    state_.emissivity = document_.Emissivity();
    state_.background = document_.BackgroundTemperature();
    ShowState();
}

void ImagerView::UpdateUnit() {
    state_.unit = document_.TemperatureUnit();
    ShowState();
}

void ImagerView::UpdatePalette() {
    state_.paletteNumber = document_.PaletteNumber();
    ShowState();
}

void ImagerView::UpdateSecondSpot() {
    state_.secondSpotShown = document_.IsSecondSpotShown();
    if (state_.selection == kSpot2 && !state_.secondSpotShown) {
        state_.selection = kSpan;
    }
    ShowState();
}

void ImagerView::UpdateBlink() {
    if (state_.selection == kSpan) {
        rangeBar_.ToggleCursor();
    } else {
        thermalImage_.ToggleCursor();
    }
}

void ImagerView::UpdateSnapshotStatus() {
    thermalImage_.SetStatus(document_.SnapshotIndex(), document_.CountSnapshots(),
                            document_.SnapshotNote(), document_.SnapshotTitle());
    thermalImage_.SetUnreadable(document_.IsSnapshotUnreadable());
    if (!document_.AnySnapshot() && !buttons_.At(kDelete).isHidden()) {
        commands_.Live();
    }
}

void ImagerView::UpdateRangeLimits() {
    rangeBar_.SetRangeLimits(document_.RangeLow(), document_.RangeHigh());
}

// --- view modes for the document archive ------------------------------------------------

void ImagerView::SetInterpolatedMode(bool on) {
    interpolated_ = on;
    thermalImage_.SetInterpolated(on);
}

bool ImagerView::EdgeRepairFlag() const {
    return thermalImage_.EdgeMask();
}

void ImagerView::SetEdgeRepairFlag(bool on) {
    thermalImage_.SetEdgeMask(on);
}

void ImagerView::SetEdgeRepaired(bool repaired) {
    // The browsing flag stands in for the Delete button's visibility, which only the
    // user-interface thread may read.
    if (initialised_ && !browsing_) {
        thermalImage_.SetEdgeMask(repaired);
    }
}

// --- keys ------------------------------------------------------------------------------

void ImagerView::HandleKey(Key key) {
    if (key != Key::kReturn && state_.selection == kSpan) {
        MoveSpan(key);
    } else if (key != Key::kReturn) {
        document_.MoveSpot(state_.selection, SpotDirectionOf(key));
    } else {
        SelectNext();
    }
}

void ImagerView::MoveSpan(Key key) {
    switch (key) {
        case Key::kLeft:
            document_.ShiftSpanDown();
            break;
        case Key::kRight:
            document_.ShiftSpanUp();
            break;
        case Key::kUp:
            document_.WidenSpan();
            break;
        default:
            document_.NarrowSpan();
            break;
    }
}

void ImagerView::SelectNext() {
    Selection mode =
        state_.selection == kSpan ? kSpot1 : static_cast<Selection>(state_.selection + 1);
    if (mode == kSpot2 && !document_.IsSecondSpotShown()) {
        mode = kSpan;
    }
    // The span follows the scene by itself while automatic span is on for live pictures.
    if (mode == kSpan && document_.IsAutoSpanOn() && document_.IsAutoSpanAllowed() &&
        document_.SnapshotIndex() == -1) {
        mode = kSpot1;
    }
    SetSelectionMode(mode);
}

void ImagerView::SetSelectionMode(Selection mode) {
    state_.selection = mode;
    ShowState();
}

void ImagerView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            HandleKey(Key::kLeft);
            break;
        case Qt::Key_Up:
            HandleKey(Key::kUp);
            break;
        case Qt::Key_Right:
            HandleKey(Key::kRight);
            break;
        case Qt::Key_Down:
            HandleKey(Key::kDown);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            HandleKey(Key::kReturn);
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void ImagerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

// --- button rows -----------------------------------------------------------------------

void ImagerView::ShowAutoOrFitSpan() {
    buttons_.ShowAutoOrFitSpan(document_.IsAutoSpanAllowed());
}

void ImagerView::ShowLiveRow() {
    browsing_ = false;
    buttons_.ShowLive(document_.IsAutoSpanAllowed());
}

void ImagerView::ShowHeldRow() {
    buttons_.ShowHeld();
}

void ImagerView::ShowBrowsingRow() {
    browsing_ = true;
    buttons_.ShowBrowsing();
}

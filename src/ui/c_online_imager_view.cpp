#include "ui/c_online_imager_view.h"

#include <QKeyEvent>
#include <QPainter>

#include "display/qt/default_font.h"
#include "document/online_imager_doc.h"
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

const QColor COnlineImagerView::kBackground(192, 192, 192);

COnlineImagerView::COnlineImagerView(COnlineImagerDoc& document, const Services& services,
                                     QWidget* parent)
    : QWidget(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("COnlineImagerView"));
    setFixedSize(kWidth, kHeight);
    setFont(DefaultControlFont());
    setFocusPolicy(Qt::StrongFocus);
    thermalImage_.SetStringResources(&services_.strings);
    rangeBar_.SetStringResources(&services_.strings);
    batteryGauge_.SetResources(&services_.strings, &services_.icons);
    document_.AddView(this);
}

COnlineImagerView::~COnlineImagerView() {
    document_.RemoveView(this);
}

// --- initial update ---------------------------------------------------------------------

void COnlineImagerView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
    CreateDisplayControls();
    InitialiseDisplayControls();
    buttons_.Create(*this, services_.strings, services_.icons);
    commands_.Connect();
    initialised_ = true;
    ShowLiveRow();
    setFocus();
}

void COnlineImagerView::CreateDisplayControls() {
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

void COnlineImagerView::InitialiseDisplayControls() {
    const COnlineImagerDoc& d = document_;
    state_.paletteNumber = d.GetPaletteNumber();
    state_.spanLow = static_cast<std::int16_t>(d.GetSpanLow());
    state_.spanHigh = static_cast<std::int16_t>(d.GetSpanHigh());
    state_.spots = {d.GetSpotPosition(0), d.GetSpotPosition(1)};
    state_.emissivity = d.GetEmissivity();
    state_.unit = d.GetTemperatureUnit();
    state_.secondSpotShown = d.IsSecondSpotShown();
    state_.background = d.GetBackgroundTemperature();
    thermalImage_.Initialise(&palettes_, state_, d.GetDisplayFrame(), interpolated_);
    rangeBar_.Initialise(static_cast<std::int16_t>(d.GetRangeLow()),
                         static_cast<std::int16_t>(d.GetRangeHigh()), state_);
    colourScale_.Initialise(&palettes_, state_);
}

int COnlineImagerView::ControlId(Button which) {
    return ButtonRow::ControlId(which);
}

// --- update flags ----------------------------------------------------------------------

void COnlineImagerView::OnUpdate(ViewInterface*, std::uint32_t hint, void*) {
    if (!initialised_) {
        // Only the base initial update's hint 0 comes this early; it touches nothing.
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
}

void COnlineImagerView::UpdateFrame() {
    thermalImage_.SetFrame(document_.GetDisplayFrame());
}

void COnlineImagerView::ShowState() {
    thermalImage_.SetState(state_);
    colourScale_.SetState(state_);
    rangeBar_.SetState(state_);
}

void COnlineImagerView::UpdateSpots() {
    // Spot 2 keeps its last place while it is hidden.
    state_.spots[0] = document_.GetSpotPosition(0);
    if (document_.IsSecondSpotShown()) {
        state_.spots[1] = document_.GetSpotPosition(1);
    }
    ShowState();
}

void COnlineImagerView::UpdateSpan() {
    state_.spanLow = static_cast<std::int16_t>(document_.GetSpanLow());
    state_.spanHigh = static_cast<std::int16_t>(document_.GetSpanHigh());
    ShowState();
}

void COnlineImagerView::UpdateCorrections() {
    state_.emissivity = document_.GetEmissivity();
    state_.background = document_.GetBackgroundTemperature();
    ShowState();
}

void COnlineImagerView::UpdateUnit() {
    state_.unit = document_.GetTemperatureUnit();
    ShowState();
}

void COnlineImagerView::UpdatePalette() {
    state_.paletteNumber = document_.GetPaletteNumber();
    ShowState();
}

void COnlineImagerView::UpdateSecondSpot() {
    state_.secondSpotShown = document_.IsSecondSpotShown();
    if (state_.selection == kSpot2 && !state_.secondSpotShown) {
        state_.selection = kSpan;
    }
    ShowState();
}

void COnlineImagerView::UpdateBlink() {
    if (state_.selection == kSpan) {
        rangeBar_.ToggleCursor();
    } else {
        thermalImage_.ToggleCursor();
    }
}

void COnlineImagerView::UpdateSnapshotStatus() {
    thermalImage_.SetStatus(document_.GetSnapshotIndex(), document_.CountSnapshots(),
                            document_.GetSnapshotNote(), document_.GetSnapshotTitle());
    if (!document_.AnySnapshot() && !buttons_.At(kDelete).isHidden()) {
        commands_.Live();
    }
}

void COnlineImagerView::UpdateRangeLimits() {
    rangeBar_.SetRangeLimits(document_.GetRangeLow(), document_.GetRangeHigh());
}

// --- view modes for the document archive ------------------------------------------------

void COnlineImagerView::SetInterpolatedMode(bool on) {
    interpolated_ = on;
    thermalImage_.SetInterpolated(on);
}

bool COnlineImagerView::GetEdgeRepairFlag() const {
    return thermalImage_.EdgeMask();
}

void COnlineImagerView::SetEdgeRepairFlag(bool on) {
    thermalImage_.SetEdgeMask(on);
}

void COnlineImagerView::SetEdgeRepaired(bool repaired) {
    // The browsing flag stands in for the Delete button's visibility, which only the
    // user-interface thread may read.
    if (initialised_ && !browsing_) {
        thermalImage_.SetEdgeMask(repaired);
    }
}

// --- keys ------------------------------------------------------------------------------

void COnlineImagerView::HandleKey(Key key) {
    if (key != Key::kReturn && state_.selection == kSpan) {
        MoveSpan(key);
    } else if (key != Key::kReturn) {
        document_.MoveSpot(state_.selection, SpotDirectionOf(key));
    } else {
        SelectNext();
    }
}

void COnlineImagerView::MoveSpan(Key key) {
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

void COnlineImagerView::SelectNext() {
    Selection mode =
        state_.selection == kSpan ? kSpot1 : static_cast<Selection>(state_.selection + 1);
    if (mode == kSpot2 && !document_.IsSecondSpotShown()) {
        mode = kSpan;
    }
    // The span follows the scene by itself while automatic span is on for live pictures.
    if (mode == kSpan && document_.IsAutoSpanOn() && document_.IsAutoSpanAllowed() &&
        document_.GetSnapshotIndex() == -1) {
        mode = kSpot1;
    }
    SetSelectionMode(mode);
}

void COnlineImagerView::SetSelectionMode(Selection mode) {
    state_.selection = mode;
    ShowState();
}

void COnlineImagerView::keyPressEvent(QKeyEvent* event) {
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

void COnlineImagerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

// --- button rows -----------------------------------------------------------------------

void COnlineImagerView::ShowAutoOrFitSpan() {
    buttons_.ShowAutoOrFitSpan(document_.IsAutoSpanAllowed());
}

void COnlineImagerView::ShowLiveRow() {
    browsing_ = false;
    buttons_.ShowLive(document_.IsAutoSpanAllowed());
}

void COnlineImagerView::ShowHeldRow() {
    buttons_.ShowHeld();
}

void COnlineImagerView::ShowBrowsingRow() {
    browsing_ = true;
    buttons_.ShowBrowsing();
}

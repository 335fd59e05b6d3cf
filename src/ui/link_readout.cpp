#include "ui/link_readout.h"

#include <QFontMetrics>

#include "ui/language_text.h"
#include "ui/panel_layout.h"
#include "ui/range_description_text.h"

namespace {

// Room for a value over the rest of a row, in average characters; a longer port path or
// range description loses its middle.
constexpr int kLineCharacters = 24;
constexpr double kWidestRate = 888.8;

QString Count(std::uint64_t count) {
    return QString::number(count);
}

QString PerSecond(double rate) {
    return QString::number(rate, 'f', 1) + QStringLiteral("/s");
}

QString SecondsSince(std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::max(0.0, std::chrono::duration<double>(elapsed).count());
    return QString::number(seconds, 'f', seconds < 10.0 ? 1 : 0) + QStringLiteral(" s");
}

QString RangeText(const HeadRange& range) {
    if (range.number == head_wire::kUnknownRange) {
        return panel_layout::kUnknown;
    }
    const QString description = RangeDescriptionText(range.description);
    return QString::number(range.number) +
           (description.isEmpty() ? QString() : QStringLiteral(": ") + description);
}

}  // namespace

LinkReadout::LinkReadout(const StringResources& strings, QWidget* parent) : QWidget(parent) {
    const auto name = [&strings](int id) { return LanguageText(strings, id); };
    QGridLayout& rows = panel_layout::MakeRows(*this);
    heading_.setText(name(kHeading));
    panel_layout::AddHeading(rows, heading_);
    panel_layout::AddRow(rows, name(kPortText), port_);
    panel_layout::AddRow(rows, name(kSerialText), serial_);
    panel_layout::AddRow(rows, name(kRangeText), range_);
    panel_layout::AddPair(rows, name(kReceivedText), received_, name(kTakenText), taken_);
    panel_layout::AddPair(rows, name(kDroppedText), dropped_, name(kDamagedText), damaged_);
    panel_layout::AddRow(rows, name(kReconnectionsText), reconnections_);
    panel_layout::AddRow(rows, name(kLastFrameText), lastFrame_);
    const QFontMetrics metrics(font());
    for (QLabel* count : {&received_, &taken_, &dropped_, &damaged_}) {
        panel_layout::FixWidth(*count, metrics.horizontalAdvance(PerSecond(kWidestRate)));
    }
    for (QLabel* line : {&port_, &serial_, &range_, &reconnections_, &lastFrame_}) {
        panel_layout::FixWidth(*line, metrics.averageCharWidth() * kLineCharacters);
    }
    ShowNoLink();
}

const QLabel* LinkReadout::ValueLabel(int nameId) const {
    switch (nameId) {
        case kPortText:
            return &port_;
        case kSerialText:
            return &serial_;
        case kRangeText:
            return &range_;
        case kReceivedText:
            return &received_;
        case kTakenText:
            return &taken_;
        case kDroppedText:
            return &dropped_;
        case kDamagedText:
            return &damaged_;
        case kReconnectionsText:
            return &reconnections_;
        case kLastFrameText:
            return &lastFrame_;
        default:
            return nullptr;
    }
}

QString LinkReadout::Value(int nameId) const {
    const QLabel* label = ValueLabel(nameId);
    return label != nullptr ? label->text() : QString();
}

void LinkReadout::ShowNoLink() {
    for (QLabel* value : {&port_, &serial_, &range_, &received_, &taken_, &dropped_, &damaged_,
                          &reconnections_, &lastFrame_}) {
        value->setText(panel_layout::kUnknown);
    }
    port_.setToolTip(QString());
    range_.setToolTip(QString());
}

void LinkReadout::Show(const Facts& facts, LinkRateMeter::Clock::time_point now) {
    ShowPort(facts.port);
    serial_.setText(facts.headSerial != 0 ? QString::number(facts.headSerial)
                                          : panel_layout::kUnknown);
    panel_layout::SetElidedText(range_, RangeText(facts.range));
    received_.setText(facts.rates ? PerSecond(facts.rates->received) : panel_layout::kUnknown);
    taken_.setText(facts.rates ? PerSecond(facts.rates->taken) : panel_layout::kUnknown);
    dropped_.setText(Count(facts.health.framesDropped));
    damaged_.setText(Count(facts.health.packetsDamaged));
    reconnections_.setText(Count(facts.health.reconnections));
    lastFrame_.setText(facts.health.lastFrame ? SecondsSince(now - *facts.health.lastFrame)
                                              : panel_layout::kUnknown);
}

void LinkReadout::ShowPort(const std::filesystem::path& port) {
    panel_layout::SetElidedText(
        port_, port.empty() ? panel_layout::kUnknown : QString::fromStdString(port.string()));
}

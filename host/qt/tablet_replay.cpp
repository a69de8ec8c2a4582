#include "host/qt/tablet_replay.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTimerEvent>
#include <QWidget>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "host/qt/qt_host.h"

namespace host::qt {

namespace {

constexpr int kSamplePeriodMs = 20;

bool readNumber(std::string_view& rest, double& value) {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    const char* end = rest.data() + rest.size();
    auto [next, error] = std::from_chars(rest.data(), end, value);
    if (error != std::errc() || next == rest.data()) return false;
    rest.remove_prefix(std::size_t(next - rest.data()));
    return true;
}

}  // namespace

std::optional<std::vector<ReplaySample>> parseReplaySamples(std::string_view text, int* badLine) {
    std::vector<ReplaySample> samples;
    int number = 0;
    while (!text.empty()) {
        ++number;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        ReplaySample s;
        if (!readNumber(line, s.x) || !readNumber(line, s.y) || !readNumber(line, s.pressure) ||
            line.find_first_not_of(" \t\r") != std::string_view::npos || !(s.pressure >= 0) ||
            s.pressure > 1) {
            if (badLine) *badLine = number;
            return std::nullopt;
        }
        samples.push_back(s);
    }
    return samples;
}

TabletReplay::TabletReplay(QtHost& host, QString path) : host_(host), path_(std::move(path)) {
    timer_ = startTimer(kSamplePeriodMs);
}

void TabletReplay::timerEvent(QTimerEvent*) {
    if (samples_.empty() && !load()) return;
    QWidget* widget = host_.shownTabletWidget();
    if (!widget) return;
    if (next_ < samples_.size()) {
        play(*widget, samples_[next_++]);
        return;
    }
    if (touching_) play(*widget, {samples_.back().x, samples_.back().y, 0});
    killTimer(timer_);
    QFile::rename(path_, path_ + ".played");
}

bool TabletReplay::load() {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return false;  // not there yet
    const QByteArray bytes = file.read(1 << 20);
    int badLine = 0;
    auto samples = parseReplaySamples(std::string_view(bytes.constData(), bytes.size()), &badLine);
    if (!samples || samples->empty()) {
        std::fprintf(stderr, "penwick: the tablet replay %s has no samples (line %d)\n",
                     qPrintable(path_), badLine);
        killTimer(timer_);
        return false;
    }
    samples_ = std::move(*samples);
    return true;
}

void TabletReplay::play(QWidget& widget, const ReplaySample& s) {
    static const QPointingDevice pen(
        QStringLiteral("replayed pen"), 7301, QInputDevice::DeviceType::Stylus,
        QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    const bool tip = s.pressure > 0;
    QEvent::Type type = QEvent::TabletMove;
    if (tip && !touching_) type = QEvent::TabletPress;
    if (!tip && touching_) type = QEvent::TabletRelease;
    touching_ = tip;
    const QPointF at(s.x, s.y);
    QTabletEvent e(type, &pen, at, widget.mapToGlobal(at), s.pressure, 0, 0, 0, 0, 0,
                   Qt::NoModifier, type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton,
                   tip ? Qt::LeftButton : Qt::NoButton);
    e.setAccepted(false);
    QCoreApplication::sendEvent(&widget, &e);
}

std::unique_ptr<TabletReplay> startTabletReplay(QtHost& host) {
    const char* path = std::getenv("PENWICK_TEST_TABLET");
    if (!path || !*path) return nullptr;
    return std::make_unique<TabletReplay>(host, QString::fromLocal8Bit(path));
}

}  // namespace host::qt

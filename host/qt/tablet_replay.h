#pragma once
// A test-only pen: with PENWICK_TEST_TABLET naming a file, the program's Qt
// host plays the samples of that file as Qt tablet events into the client
// widget of the first shown window with an enabled tablet context, one
// sample every 20 ms, as soon as both the file and such a window exist.
// Afterwards the file is renamed to its name followed by ".played", which
// tells the test the stroke is over. No tablet exists under Xvfb, so this is
// how a pressure stroke is drawn end to end there. Without the variable
// nothing of it runs.
//
// One sample a line, blank lines and lines from "#" on ignored:
//   X Y PRESSURE     client pixels (fractions allowed), pressure 0 .. 1
// A pressure above 0 means the tip touches: the first such line presses it,
// the next line at 0 (or the end of the file) lifts it.

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTimerEvent;
class QWidget;

namespace host::qt {

class QtHost;

struct ReplaySample {
    double x = 0;
    double y = 0;
    double pressure = 0;
};

// The samples of a replay file's text; nothing when a line is not three
// numbers or a pressure lies outside 0 .. 1 (the line's number in *badLine).
std::optional<std::vector<ReplaySample>> parseReplaySamples(std::string_view text, int* badLine);

class TabletReplay : public QObject {
  public:
    TabletReplay(QtHost& host, QString path);

  protected:
    void timerEvent(QTimerEvent*) override;

  private:
    bool load();
    void play(QWidget& widget, const ReplaySample& sample);

    QtHost& host_;
    QString path_;
    int timer_ = 0;
    std::vector<ReplaySample> samples_;
    std::size_t next_ = 0;
    bool touching_ = false;
};

// Starts the replay when the environment asks for it; null otherwise.
std::unique_ptr<TabletReplay> startTabletReplay(QtHost& host);

}  // namespace host::qt

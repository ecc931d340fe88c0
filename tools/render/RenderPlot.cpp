// Draws the render's picture with Cairo: four lanes over one time axis, bars above, seconds
// below, freezes marked through all lanes.
#include "tools/render/RenderPlot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tools/render/ProcessInfo.h"

namespace {

constexpr double kLeft = 120.0;
constexpr double kRight = kPlotWidth - 30.0;
constexpr double kFont = 15.0;

struct Lane {
    const char* name;
    double top;
    double height;
    double bottom() const { return top + height; }
    double middle() const { return top + height / 2.0; }
};

constexpr Lane kInputLane{"input", 92.0, 200.0};
constexpr Lane kLevelLane{"envelope", 312.0, 190.0};
constexpr Lane kEventLane{"events", 522.0, 150.0};
constexpr Lane kOutputLane{"output", 692.0, 200.0};
constexpr double kAxisY = kOutputLane.top + kOutputLane.height + 8.0;

struct Rgb {
    double r, g, b;
};
constexpr Rgb kText{0.15, 0.15, 0.18};
constexpr Rgb kGrid{0.86, 0.86, 0.88};
constexpr Rgb kWave{0.23, 0.40, 0.62};
constexpr Rgb kLevel{0.10, 0.55, 0.35};
constexpr Rgb kThreshold{0.85, 0.45, 0.05};
constexpr Rgb kFreeze{0.82, 0.12, 0.16};
constexpr Rgb kRecording{1.00, 0.80, 0.86};  // the editor's pink while recording
constexpr Rgb kLoop{0.10, 0.55, 0.35};
constexpr Rgb kNote{0.50, 0.20, 0.70};
constexpr Rgb kStopped{0.45, 0.45, 0.45};

void color(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

enum class Align { Left, Centre, Right };

void text(cairo_t* cr, double x, double y, const std::string& s, Align align = Align::Left) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, s.c_str(), &extents);
    if (align == Align::Centre) x -= extents.x_advance / 2.0;
    if (align == Align::Right) x -= extents.x_advance;
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

// The value with the given decimals, or (decimals < 0) in three significant digits.
std::string number(double value, int decimals) {
    char buffer[64];
    if (decimals < 0)
        std::snprintf(buffer, sizeof buffer, "%.3g", value);
    else
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// Sample positions to x over the whole render.
class TimeAxis {
public:
    TimeAxis(size_t frames, double sampleRate) : length(std::max<size_t>(frames, 1)), rate(sampleRate) {}
    double x(double position) const {
        return kLeft + (kRight - kLeft) * position / static_cast<double>(length);
    }
    double xSeconds(double seconds) const { return x(seconds * rate); }
    double seconds() const { return static_cast<double>(length) / rate; }
    // The samples drawn in pixel column `column` (from kLeft): [first, last).
    size_t first(int column) const { return columnStart(column); }
    size_t last(int column) const { return std::max(columnStart(column + 1), columnStart(column) + 1); }
    int columns() const { return static_cast<int>(kRight - kLeft); }
    size_t frames() const { return length; }

private:
    size_t columnStart(int column) const {
        const double at = static_cast<double>(column) / (kRight - kLeft) * static_cast<double>(length);
        return std::min(length, static_cast<size_t>(std::max(0.0, at)));
    }
    size_t length;
    double rate;
};

void laneFrame(cairo_t* cr, const Lane& lane) {
    color(cr, {0.98, 0.98, 0.99});
    cairo_rectangle(cr, kLeft, lane.top, kRight - kLeft, lane.height);
    cairo_fill(cr);
    color(cr, kText);
    if (&lane != &kEventLane) {
        text(cr, 14.0, lane.middle() + kFont / 3.0, lane.name);
        return;
    }
    // The events lane's rows, each named.
    const struct {
        const char* name;
        double y;
    } rows[] = {{"freeze, step", 16.0}, {"recording", 48.0}, {"note", 80.0}, {"loop start", 110.0}};
    for (const auto& row : rows) text(cr, 14.0, lane.top + row.y, row.name);
}

// Beat and bar lines through every lane, bar numbers above the first.
void barGrid(cairo_t* cr, const TimeAxis& axis, double tempo) {
    const double beat = 60.0 / tempo;
    // At most 100000 beats are drawn (no render of this tool is that long).
    const int beats = static_cast<int>(std::min(axis.seconds() / beat, 100000.0));
    const double beatPixels = axis.xSeconds(beat) - kLeft;
    const int barEvery = std::max(1, static_cast<int>(std::ceil(40.0 / (4.0 * beatPixels))));
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i <= beats; ++i) {
        const bool bar = i % 4 == 0;
        if (!bar && beatPixels < 6.0) continue;
        const double x = std::round(axis.xSeconds(i * beat)) + 0.5;
        color(cr, bar ? Rgb{0.75, 0.75, 0.80} : kGrid);
        for (const Lane* lane : {&kInputLane, &kLevelLane, &kEventLane, &kOutputLane})
            line(cr, x, lane->top, x, lane->bottom());
        if (bar && (i / 4) % barEvery == 0) {
            color(cr, kText);
            text(cr, x, kInputLane.top - 8.0, std::to_string(i / 4 + 1), Align::Centre);
        }
    }
    color(cr, kText);
    text(cr, kLeft - 10.0, kInputLane.top - 8.0, "bar", Align::Right);
}

// Seconds below the last lane, at a spacing that leaves room for the labels.
void secondsAxis(cairo_t* cr, const TimeAxis& axis) {
    const double steps[] = {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0};
    double step = steps[std::size(steps) - 1];
    for (double s : steps)
        if (axis.xSeconds(s) - kLeft >= 70.0) {
            step = s;
            break;
        }
    color(cr, kText);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i * step <= axis.seconds() + 1e-9 && i < 100000; ++i) {
        const double x = std::round(axis.xSeconds(i * step)) + 0.5;
        line(cr, x, kAxisY - 6.0, x, kAxisY);
        text(cr, x, kAxisY + kFont + 2.0, number(i * step, step < 1.0 ? 1 : 0), Align::Centre);
    }
    text(cr, kLeft - 10.0, kAxisY + kFont + 2.0, "seconds", Align::Right);
}

// Lowest and highest sample of both channels in each pixel column.
void waveform(cairo_t* cr, const TimeAxis& axis, const Lane& lane, const AudioData& audio) {
    const double half = lane.height / 2.0 - 4.0;
    color(cr, kGrid);
    line(cr, kLeft, lane.middle(), kRight, lane.middle());
    color(cr, kWave);
    cairo_set_line_width(cr, 1.0);
    for (int column = 0; column < axis.columns(); ++column) {
        const size_t first = axis.first(column);
        const size_t last = std::min(axis.last(column), audio.frames());
        if (first >= last) break;
        float low = 0.0f;
        float high = 0.0f;
        for (size_t i = first; i < last; ++i) {
            for (float v : {audio.left[i], audio.right[i]}) {
                if (!std::isfinite(v)) continue;
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        const double x = kLeft + column + 0.5;
        const double top = lane.middle() - static_cast<double>(std::min(1.0f, high)) * half;
        const double bottom = lane.middle() - static_cast<double>(std::max(-1.0f, low)) * half;
        line(cr, x, top, x, std::max(bottom, top + 1.0));
    }
}

// The follower's level (highest in each column) and the threshold it is compared with.
void envelopeLane(cairo_t* cr, const TimeAxis& axis, const std::vector<LevelPoint>& levels) {
    float peak = 0.0f;
    for (const LevelPoint& p : levels) {
        if (std::isfinite(p.envelope)) peak = std::max(peak, p.envelope);
        if (std::isfinite(p.threshold)) peak = std::max(peak, p.threshold);
    }
    // A scale in tenths above the highest value.
    const double top = std::max(0.1, std::ceil(static_cast<double>(peak) * 10.0 * 1.05) / 10.0);
    const double usable = kLevelLane.height - 8.0;
    auto y = [&](double value) {
        if (std::isnan(value)) value = 0.0;  // a threshold from a chunk may be anything
        return kLevelLane.bottom() - std::clamp(value, 0.0, top) / top * usable;
    };
    color(cr, kText);
    text(cr, kLeft - 6.0, y(top) + kFont / 3.0, number(top, 1), Align::Right);
    text(cr, kLeft - 6.0, y(0.0), "0", Align::Right);

    // Highest level per column, as a filled outline.
    std::vector<double> column(static_cast<size_t>(axis.columns()), -1.0);
    for (const LevelPoint& p : levels) {
        const double x = axis.x(static_cast<double>(p.position)) - kLeft;
        if (x < 0.0 || x >= axis.columns() || !std::isfinite(p.envelope)) continue;
        double& c = column[static_cast<size_t>(x)];
        c = std::max(c, static_cast<double>(p.envelope));
    }
    color(cr, kLevel);
    cairo_set_line_width(cr, 1.5);
    bool drawing = false;
    for (size_t i = 0; i < column.size(); ++i) {
        if (column[i] < 0.0) continue;
        const double x = kLeft + static_cast<double>(i) + 0.5;
        if (drawing)
            cairo_line_to(cr, x, y(column[i]));
        else
            cairo_move_to(cr, x, y(column[i]));
        drawing = true;
    }
    cairo_stroke(cr);

    // The threshold as it was read, a step line.
    color(cr, kThreshold);
    cairo_set_line_width(cr, 1.5);
    const double dash[] = {6.0, 4.0};
    cairo_set_dash(cr, dash, 2, 0.0);
    double lastX = kLeft;
    float lastThreshold = levels.empty() ? 0.0f : levels.front().threshold;
    cairo_move_to(cr, lastX, y(static_cast<double>(lastThreshold)));
    for (const LevelPoint& p : levels) {
        if (p.threshold == lastThreshold || !std::isfinite(p.threshold)) continue;
        lastX = axis.x(static_cast<double>(p.position));
        cairo_line_to(cr, lastX, y(static_cast<double>(lastThreshold)));
        cairo_line_to(cr, lastX, y(static_cast<double>(p.threshold)));
        lastThreshold = p.threshold;
    }
    cairo_line_to(cr, kRight, y(static_cast<double>(lastThreshold)));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    // The label on white, so that the level drawn behind it does not hide it.
    const std::string label = "threshold " + number(static_cast<double>(lastThreshold), -1);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, label.c_str(), &extents);
    color(cr, {1.0, 1.0, 1.0});
    cairo_rectangle(cr, kRight - 8.0 - extents.x_advance, y(static_cast<double>(lastThreshold)) - 8.0 - kFont,
                    extents.x_advance + 8.0, kFont + 4.0);
    cairo_fill(cr);
    color(cr, kThreshold);
    text(cr, kRight - 4.0, y(static_cast<double>(lastThreshold)) - 8.0, label, Align::Right);
}

// Recordings as pink spans, freezes with the step used, notes, loop starts and stops.
void eventLane(cairo_t* cr, const TimeAxis& axis, const EngineEvents& events) {
    const double endX = axis.x(static_cast<double>(axis.frames()));
    // Recording spans: from a trigger (or a note that starts one) to the recorder's end.
    double recordingFrom = -1.0;
    for (const EngineEvent& e : events.events) {
        const double x = axis.x(static_cast<double>(e.position));
        const bool starts =
            e.kind == EventKind::Trigger || (e.kind == EventKind::NoteApplied && e.startsRecording);
        if (starts && recordingFrom < 0.0) recordingFrom = x;
        if (e.kind == EventKind::RecordingEnd && recordingFrom >= 0.0) {
            color(cr, kRecording);
            cairo_rectangle(cr, recordingFrom, kEventLane.top + 24.0, std::max(1.0, x - recordingFrom), 40.0);
            cairo_fill(cr);
            recordingFrom = -1.0;
        }
    }
    if (recordingFrom >= 0.0) {
        color(cr, kRecording);
        cairo_rectangle(cr, recordingFrom, kEventLane.top + 24.0, endX - recordingFrom, 40.0);
        cairo_fill(cr);
    }

    // Loops exist once something was recorded; the wraps of the silent buffer before are left out.
    bool recorded = false;
    double lastLabel = -1e9;
    cairo_set_line_width(cr, 1.0);
    for (const EngineEvent& e : events.events) {
        const double x = std::round(axis.x(static_cast<double>(e.position))) + 0.5;
        switch (e.kind) {
        case EventKind::Trigger:
            recorded = true;
            color(cr, kFreeze);
            cairo_move_to(cr, x - 6.0, kEventLane.top);
            cairo_line_to(cr, x + 6.0, kEventLane.top);
            cairo_line_to(cr, x, kEventLane.top + 10.0);
            cairo_close_path(cr);
            cairo_fill(cr);
            if (x - lastLabel >= 26.0) {  // the step used, where there is room
                text(cr, x + 2.0, kEventLane.top + 22.0, std::to_string(e.value + 1));
                lastLabel = x;
            }
            break;
        case EventKind::NoteApplied:
            recorded = recorded || e.startsRecording;
            color(cr, kNote);
            cairo_move_to(cr, x, kEventLane.top + 68.0);
            cairo_line_to(cr, x + 6.0, kEventLane.top + 76.0);
            cairo_line_to(cr, x, kEventLane.top + 84.0);
            cairo_line_to(cr, x - 6.0, kEventLane.top + 76.0);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case EventKind::LoopStart:
        case EventKind::LoopEnd:
            if (!recorded) break;
            color(cr, e.kind == EventKind::LoopStart ? kLoop : kStopped);
            cairo_set_line_width(cr, e.kind == EventKind::LoopStart ? 1.0 : 3.0);
            line(cr, x, kEventLane.top + 92.0, x, kEventLane.top + 120.0);
            cairo_set_line_width(cr, 1.0);
            break;
        case EventKind::RecordingEnd: break;
        }
    }
}

// Thin freeze lines through the signal lanes, so each can be read against the waveforms.
void freezeLines(cairo_t* cr, const TimeAxis& axis, const EngineEvents& events) {
    cairo_set_source_rgba(cr, kFreeze.r, kFreeze.g, kFreeze.b, 0.55);
    cairo_set_line_width(cr, 1.0);
    for (const EngineEvent& e : events.events) {
        if (e.kind != EventKind::Trigger) continue;
        const double x = std::round(axis.x(static_cast<double>(e.position))) + 0.5;
        for (const Lane* lane : {&kInputLane, &kLevelLane, &kOutputLane})
            line(cr, x, lane->top, x, lane->bottom());
    }
}

void legend(cairo_t* cr) {
    const double y = kPlotHeight - 22.0;
    double x = kLeft;
    auto key = [&](Rgb c, const char* label, double width) {
        color(cr, c);
        cairo_rectangle(cr, x, y - 10.0, 14.0, 10.0);
        cairo_fill(cr);
        color(cr, kText);
        text(cr, x + 20.0, y, label);
        x += width;
    };
    key(kFreeze, "freeze (trigger), with the step used", 300.0);
    key(kRecording, "recording", 130.0);
    key(kLoop, "loop start", 120.0);
    key(kStopped, "last pass (repeat limit)", 220.0);
    key(kNote, "MIDI note took effect", 200.0);
    key(kThreshold, "threshold", 120.0);
    key(kLevel, "follower level", 140.0);
}

}  // namespace

bool writeRenderPlot(const std::string& path, const PlotData& plot, std::string& error) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPlotWidth, kPlotHeight), cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> context(cairo_create(surface.get()), cairo_destroy);
    cairo_t* cr = context.get();
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        error = "cannot draw the plot: " + std::string(cairo_status_to_string(cairo_status(cr)));
        return false;
    }
    color(cr, {1.0, 1.0, 1.0});
    cairo_paint(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFont);

    const TimeAxis axis(plot.output.frames(),
                        plot.output.sampleRate > 0.0 ? plot.output.sampleRate : 44100.0);
    color(cr, kText);
    cairo_set_font_size(cr, 19.0);
    text(cr, kLeft, 34.0, plot.title);
    cairo_set_font_size(cr, kFont);

    for (const Lane* lane : {&kInputLane, &kLevelLane, &kEventLane, &kOutputLane}) laneFrame(cr, *lane);
    barGrid(cr, axis, plot.tempo > 0.0 ? plot.tempo : 120.0);
    waveform(cr, axis, kInputLane, plot.input);
    envelopeLane(cr, axis, plot.events.levels);
    eventLane(cr, axis, plot.events);
    waveform(cr, axis, kOutputLane, plot.output);
    freezeLines(cr, axis, plot.events);
    secondsAxis(cr, axis);
    legend(cr);
    cairo_surface_flush(surface.get());

    const std::string temporary = path + ".partial";
    const cairo_status_t written = cairo_surface_write_to_png(surface.get(), temporary.c_str());
    if (written != CAIRO_STATUS_SUCCESS || !replaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        error = "cannot write the plot " + path +
                (written != CAIRO_STATUS_SUCCESS ? std::string(": ") + cairo_status_to_string(written) : "");
        return false;
    }
    return true;
}

// The waveform view with a 2-hour recording: loading its 180,000 columns (as after a cut or an
// undo) into a shown view, and scrolling across the whole width page by page.
#include "record/WaveformFrame.h"
#include "record/WaveformWidget.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kColumns = 2 * 60 * 60 * 25;

double peakRssMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

struct ShownView
{
    QWidget parent;
    WaveformFrame *frame;

    ShownView()
    {
        parent.resize(962, 363);
        frame = new WaveformFrame(&parent);
        parent.show();
        QApplication::processEvents();
    }

    void load()
    {
        frame->clearWaveform();
        QVector<qreal> column(4);
        for (int i = 0; i < kColumns; ++i) {
            const double a = (i % 97) / 97.0;
            column = {a, -a, a / 2, -a / 3};
            frame->onDrawWaveform(column);
        }
        QApplication::processEvents(); // the one paint of the visible part
    }
};

void BM_AppendTwoHours(benchmark::State &state)
{
    ShownView view;
    for (auto _ : state)
        view.load();
    state.SetItemsProcessed(state.iterations() * kColumns);
    state.counters["canvas_width"] = view.frame->canvas()->width();
    state.counters["peak_rss_MB"] = peakRssMB();
}

void BM_ScrollAcrossTwoHours(benchmark::State &state)
{
    ShownView view;
    view.load();
    QScrollBar *bar = view.frame->horizontalScrollBar();
    const int page = view.frame->viewport()->width();
    qint64 pages = 0;
    for (auto _ : state) {
        for (int x = 0; x <= bar->maximum(); x += page) {
            bar->setValue(x);
            view.frame->viewport()->repaint();
            ++pages;
        }
    }
    state.SetItemsProcessed(pages);
    state.counters["pages_per_pass"] = double(pages) / double(state.iterations());
    state.counters["page_time"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["peak_rss_MB"] = peakRssMB();
}

BENCHMARK(BM_AppendTwoHours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollAcrossTwoHours)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

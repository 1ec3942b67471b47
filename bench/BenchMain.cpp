#include "BenchSupport.h"

#include "core/store/WordListImport.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The in-process windows draw offscreen and read their setting from a private folder.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    // As the program does, so the windows lay out the same faces.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});

    // The 3600-word store, made anew by the real import on each run: read by the in-process
    // benchmarks and by the start-up program beside which it lies. Made aside and swapped in
    // whole, so an interrupted run never leaves a partial store behind.
    const QString partial = bench::storeFolder() + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    mirvo::WordStore store(partial);
    const mirvo::ImportReport report =
        store.create(nullptr) ? mirvo::importWordList(bench::wordsTxtPath(), store) : mirvo::ImportReport{};
    if (!report.ok || report.written == 0 || !QDir(bench::storeFolder()).removeRecursively()
        || !QDir().rename(partial, bench::storeFolder())) {
        std::fprintf(stderr, "cannot prepare the store %s\n", bench::local(partial).c_str());
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    bench::printGoals();
    bench::dropFixtures();
    benchmark::Shutdown();
    return 0;
}

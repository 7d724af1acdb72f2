// The simulator's command handling against arbitrary request lines: the first byte picks the
// module kind, every following line goes to SimModule::handleLine() (a line starting with "!" to
// the control port's commands instead), and model time moves a little between lines so ramps,
// loads, arcs, trips and events run with whatever the lines set.
#include "model/controlcommand.h"
#include "model/presets.h"
#include "model/simmodule.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const QStringList presets = vornsim::presetNames();
    const auto module = vornsim::SimModule::fromPreset(presets.at(data[0] % presets.size()));
    module->setNoise(false);
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    for (const QByteArray &line : input.split('\n')) {
        if (line.startsWith('!')) {
            const QByteArray said = vornsim::runControlCommand(*module, line.mid(1));
            if (said != "ok" && !said.startsWith("error: "))
                __builtin_trap(); // every control line is answered "ok" or with an error
        } else {
            const QByteArray answer = module->handleLine(line);
            if (!answer.isEmpty() && !answer.endsWith("\r\n"))
                __builtin_trap(); // every answer is one line
        }
        module->advance(250);
    }
    return 0;
}

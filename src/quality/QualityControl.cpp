#include "quality/QualityControl.h"

#include <cmath>
#include <iostream>
#include <utility>
#include <vector>

QualityControl::QualityControl(const GameOptions& given)
    : options(given), current(given.qualityAuto ? QualityRung::Full : given.quality) {
    if (options.qualityAuto)
        governor.reset(new QualityGovernor(current, options.targetFps, options.pinnedAspects));
}

void QualityControl::useMemory(std::unique_ptr<QualityMemory> kept,
                               const QualityMemory::Key& forKey) {
    if (!governor)
        return;
    memory = std::move(kept);
    key = forKey;
    if (memory)
        current = memory->recall(key);
    governor.reset(new QualityGovernor(current, options.targetFps, options.pinnedAspects));
}

bool QualityControl::frame(double seconds) {
    if (!governor)
        return false;
    const QualityGovernor::Event event = governor->frame(seconds);
    const QualityRung before = current;
    current = governor->rung();
    if (event == QualityGovernor::Event::Settled) {
        // A file that could not be written said so once; it is not tried again this run.
        if (memory && !memory->remember(key, current))
            memory.reset();
        if (current != QualityRung::Full && !told) {
            std::cout << notice(options, current) << std::endl;
            told = true;
        }
    }
    return current != before;
}

std::string QualityControl::notice(const GameOptions& options, QualityRung rung) {
    const QualitySettings full = qualityAt(options, QualityRung::Full);
    const QualitySettings drawn = qualityAt(options, rung);
    std::vector<std::string> given;
    if (drawn.samples < full.samples)
        given.push_back(drawn.samples == 0 ? "antialiasing"
                                           : std::to_string(full.samples - drawn.samples) +
                                                 " of the antialiasing samples");
    if (drawn.anisotropy == 1 && full.anisotropy != 1)
        given.push_back("anisotropic filtering");
    if (drawn.shadowMapSize < full.shadowMapSize)
        given.push_back("sharp shadows (map " + std::to_string(drawn.shadowMapSize) + ")");
    if (drawn.waterMapSize < full.waterMapSize)
        given.push_back("sharp reflections (water images " + std::to_string(drawn.waterMapSize) +
                        ")");
    if (drawn.renderScale < full.renderScale)
        given.push_back("full resolution (3D picture at " +
                        std::to_string(static_cast<int>(std::lround(drawn.renderScale * 100))) +
                        " %)");
    std::string text = "Quality: " + std::string(rungName(rung)) + " holds " +
                       std::to_string(options.targetFps) + " fps here";
    for (size_t i = 0; i < given.size(); ++i)
        text += (i == 0 ? ", without " : i + 1 == given.size() ? " and " : ", ") + given[i];
    return text + "; --quality full draws the full picture";
}

#include "quality/QualityControl.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

QualityControl::QualityControl(const GameOptions& given)
    : options(given), current(given.qualityAuto ? QualityRung::Full : given.quality),
      known(current) {
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
    known = current;
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
        if (current != known) {
            std::cout << notice(options, current, governor->measuredFps(), governor->meetsTarget())
                      << std::endl;
            known = current;
        }
    }
    return current != before;
}

std::string QualityControl::notice(const GameOptions& options, QualityRung rung, double measuredFps,
                                   bool meetsTarget) {
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
    std::ostringstream rate;
    rate << std::fixed << std::setprecision(1) << measuredFps;
    const std::string target = std::to_string(options.targetFps) + " fps target";
    std::string text = "Quality: " + std::string(rungName(rung)) + " draws " + rate.str() +
                       " fps here, " +
                       (meetsTarget ? "meeting the " + target
                                    : "below the " + target + " even at this lowest rung");
    if (given.empty())
        return text;
    for (size_t i = 0; i < given.size(); ++i)
        text += (i == 0 ? ", without " : i + 1 == given.size() ? " and " : ", ") + given[i];
    return text + "; --quality full draws the full picture";
}

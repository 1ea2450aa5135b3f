#include "pictures/library.h"

#include <QElapsedTimer>

#include <cstdio>

#include "catalogue/tables.h"
#include "common/imagefiles.h"
#include "common/parallel.h"
#include "pictures/backgrounds.h"
#include "pictures/buttonbar.h"
#include "pictures/rewards.h"
#include "pictures/shapecolours.h"
#include "pictures/shaperenderer.h"

namespace mediagen {
namespace {

const QSize kShapeSize(900, 800);

void addShapeJobs(std::vector<Job>& jobs, const QString& folder, ShapeFinish finish) {
    for (const QString& stem : qv::kShapeStems) {
        for (const ShapeColour& colour : shapeColours()) {
            const QString path = folder + "/" + stem + colour.name + ".jpg";
            jobs.push_back(
                [=] { return saveJpeg(renderShape(stem, colour, finish, kShapeSize), path); });
        }
    }
}

void addButtonJobs(std::vector<Job>& jobs, const QString& folder) {
    for (const SelectionButton& b : selectionButtons()) {
        const QString stem = folder + "/" + b.libraryStem;
        jobs.push_back(
            [=] { return saveJpeg(selectionButtonPicture(b, ButtonLook::Lit), stem + "y.jpg"); });
        jobs.push_back(
            [=] { return saveJpeg(selectionButtonPicture(b, ButtonLook::Plain), stem + "w.jpg"); });
    }
}

void addBackgroundJobs(std::vector<Job>& jobs, const QString& folder) {
    for (int n = 0; n < qv::kBackgroundCount; ++n) {
        jobs.push_back([=] {
            return saveJpeg(backgroundPicture(n), folder + "/back" + QString::number(n) + ".jpg");
        });
    }
}

bool runTimed(const std::vector<Job>& jobs) {
    QElapsedTimer clock;
    clock.start();
    const bool ok = runJobs(jobs, 2);
    std::printf("quorvel-mediagen: %zu pictures in %.1f s\n", jobs.size(),
                clock.elapsed() / 1000.0);
    return ok;
}

}  // namespace

bool writePictureLibrary(const QString& programDir) {
    const QString backgrounds = programDir + "/backgrounds";
    std::vector<Job> jobs;
    // The big pictures first, so that both workers finish at about the same time.
    addBackgroundJobs(jobs, backgrounds);
    addShapeJobs(jobs, programDir + "/shapes", ShapeFinish::Glossy);
    addShapeJobs(jobs, programDir + "/shapes1", ShapeFinish::Plastic);
    for (int n = 0; n < qv::kRewardCount; ++n) {
        jobs.push_back([=] {
            return saveJpeg(rewardPicture(n), backgrounds + "/c" + QString::number(n) + ".jpg");
        });
    }
    addButtonJobs(jobs, backgrounds);
    return runTimed(jobs);
}

bool writeBackgrounds(const QString& programDir) {
    std::vector<Job> jobs;
    addBackgroundJobs(jobs, programDir + "/backgrounds");
    return runTimed(jobs);
}

}  // namespace mediagen

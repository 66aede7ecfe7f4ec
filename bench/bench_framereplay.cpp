// Replaying the painter's face lists for one frame, as the 3D view does on every repaint.
// Needs an OpenGL display: run it under xvfb-run where there is none.
#include "Core/Operations/substratebuilder.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QTemporaryDir>

#include <GL/gl.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;

namespace {

const int frameWidth = 1280;
const int frameHeight = 960;

QOpenGLContext *context = nullptr;
QOffscreenSurface *surface = nullptr;
QOpenGLFramebufferObject *target = nullptr;

bool createContext()
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    surface = new QOffscreenSurface();
    surface->setFormat(format);
    surface->create();
    context = new QOpenGLContext();
    context->setFormat(format);
    if (!context->create() || !context->makeCurrent(surface))
        return false;
    target = new QOpenGLFramebufferObject(frameWidth, frameHeight,
                                          QOpenGLFramebufferObject::CombinedDepthStencil);
    return target->isValid() && target->bind();
}

/// The fixed-function state of the 3D view, looking at a volume of the given size from above
/// at an angle, with lighting on.
void setUpView(float sizeX, float sizeY, float sizeZ)
{
    glViewport(0, 0, frameWidth, frameHeight);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat light[4] = {0.0f, 0.0f, 300.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glMaterialfv(GL_FRONT, GL_SPECULAR, grey);
    glMaterialf(GL_FRONT, GL_SHININESS, 64.0f);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, light);

    const float zoom = 1.6f * std::max(sizeX, sizeY) / frameWidth;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-zoom * frameWidth / 2, zoom * frameWidth / 2, -zoom * frameHeight / 2,
            zoom * frameHeight / 2, -2 * (sizeX + sizeY + sizeZ), 2 * (sizeX + sizeY + sizeZ));
    glMatrixMode(GL_MODELVIEW);
    glRotatef(-60.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-35.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-sizeX / 2, -sizeY / 2, -sizeZ / 2);
}

void replay(benchmark::State &state, const TotalVolume::Ptr &volume)
{
    if (!volume) {
        state.SkipWithError("volume not allocated");
        return;
    }
    TotalVolumePainter &painter = volume->getPainter();
    painter.refresh();
    const bool edges = state.range(0) != 0;
    setUpView(float(volume->getCellsX()), float(volume->getCellsY()), float(volume->getCellsZ()));
    for (auto _ : state) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        volume->draw(true, edges);
        glFinish();
    }
    state.counters["faces"] =
        double(painter.getOpaqueFaces().size() + painter.getTranslucentFaces().size());
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

/// A 200 x 200 x 100 volume: silicon up to z = 50 under oxide islands 10 cells thick on a
/// 25-cell pitch, and trenches 20 deep between every second row of islands.
TotalVolume::Ptr patternedTwoMaterials()
{
    const quint32 sx = 200, sy = 200, sz = 100;
    std::vector<quint32> ids(std::size_t(sx) * sy * sz, 0);
    std::size_t i = 0;
    for (quint32 x = 0; x < sx; ++x)
        for (quint32 y = 0; y < sy; ++y) {
            const bool island = x % 25 < 15 && y % 25 < 15;
            const bool trench = y % 50 >= 18 && y % 50 < 23;
            for (quint32 z = 0; z < sz; ++z, ++i) {
                if (z < (trench ? 30u : 50u))
                    ids[i] = 1;
                else if (island && z >= 50 && z < 60)
                    ids[i] = 3;
            }
        }
    return TotalVolume::create(sx, sy, sz, 1, 1, 1, Util::Vector3D(), ids);
}

} // namespace

/// The substrate the dialog offers first: 100 x 100 x 80 cells, silicon 30 high.
static void BM_ReplayDefaultSubstrate(benchmark::State &state)
{
    Core::Operations::SubstrateBuilder builder(1, 100, 100, 80, Util::Vector3D());
    builder.setBox(0, 0, 0, 100, 100, 30);
    replay(state, builder.build());
}
BENCHMARK(BM_ReplayDefaultSubstrate)
    ->ArgName("edges")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

static void BM_ReplayPatternedTwoMaterials(benchmark::State &state)
{
    replay(state, patternedTwoMaterials());
}
BENCHMARK(BM_ReplayPatternedTwoMaterials)
    ->ArgName("edges")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

/// The floor under every frame: clearing colour and depth of the frame buffer.
static void BM_ClearOnly(benchmark::State &state)
{
    setUpView(100, 100, 80);
    for (auto _ : state) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
}
BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    // The catalogue reads and writes ~/Celvane: keep the real one out of it.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QGuiApplication application(argc, argv);
    if (!createContext()) {
        std::fprintf(stderr, "No OpenGL context: run this under a display (xvfb-run -a).\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete target;
    context->doneCurrent();
    delete context;
    delete surface;
    return 0;
}

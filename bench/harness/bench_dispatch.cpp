// One property put through the harness's whole dispatch path (facade, hosted
// control, identifier lookup in the reference component) beside a direct
// virtual call that does the same assignment.
#include "balloon/ballooncomponent.h"
#include "harness/base/vellixfacade.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace
{

struct PlaceSetter {
    virtual ~PlaceSetter() = default;
    virtual void setBalloonPlace(int32_t place) = 0;
};

struct Settings final : PlaceSetter {
    void setBalloonPlace(int32_t place) override { balloonPlace = place; }
    int32_t balloonPlace = 0;
};

void DirectVirtualCall(benchmark::State &state)
{
    Settings settings;
    PlaceSetter *target = &settings;
    benchmark::DoNotOptimize(target);
    int32_t place = 0;
    for (auto _ : state) {
        target->setBalloonPlace(place);
        place = (place + 1) % 5;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DirectVirtualCall);

void DispatchPropertyPut(benchmark::State &state)
{
    harness::Trace off;
    harness::HostedControl vellix1(
        QStringLiteral("Vellix1"),
        std::make_shared<balloon::BalloonComponent>(component::VellixMethods, component::NamedValues{}), off);
    harness::VellixFacade facade(vellix1, component::VellixMethods);
    int32_t place = 0;
    for (auto _ : state) {
        facade.setBalloonPlace(place);
        place = (place + 1) % 5;
    }
}
BENCHMARK(DispatchPropertyPut);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // the component's fonts and screens need one
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

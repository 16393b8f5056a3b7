// natcall's batch path for one line: read the atom, find its entry point
// (cached after the first lookup), build the argument vector, call, and
// format the output line, on a fixed mix of arithmetic atoms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "atom.h"
#include "session.h"

namespace {

std::vector<std::string> arithmeticAtoms() {
  static const char* const predicates[] = {"addNat", "subNat", "multNat", "divNat", "modNat"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> x(-100000, 100000), y(-1000, 1000), z(-100, 100);
  std::vector<std::string> lines;
  for (int i = 0; i < 4096; ++i) {
    std::string line = predicates[random() % 5];
    line += '(' + std::to_string(x(random)) + ',' + std::to_string(y(random)) + ',';
    line += random() % 2 ? "Z" : std::to_string(z(random));
    lines.push_back(line + ')');
  }
  return lines;
}

void NatcallBatchLine(benchmark::State& state) {
  std::string error;
  std::optional<natcall::Library> library = natcall::Library::open("", error);
  if (!library) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<std::string> lines = arithmeticAtoms();
  natcall::Session session(*library);
  natcall::Atom atom;
  natcall::SyntaxError syntax;
  std::string out;
  std::size_t next = 0;
  for (auto _ : state) {
    const std::string& line = lines[next++ % lines.size()];
    out.clear();
    bool ok = natcall::parseAtom(line, atom, syntax) &&
              session.evaluate(atom, out, error) != natcall::Outcome::error;
    if (!ok) {
      state.SkipWithError("a benchmark atom did not evaluate");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NatcallBatchLine);

}  // namespace

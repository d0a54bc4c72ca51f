// Reading INI files: a theme file as the loader reads it, and the large and damaged files
// the reader must get through.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/ini_file.hpp"

namespace {

std::string ThemeLikeFile() {
  std::string text = "[Head]\r\nCanReadVersion=1\r\nTitle=Sky\r\n[PixelSize]\r\n";
  for (int i = 0; i < 20; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  for (const char* font : {"MonthFont", "DayFont", "WeekFont", "PaymentFont", "SpecialFont"})
    text += std::string("[") + font + "]\r\nName=Arial\r\nSize=10\r\nColor_R=1\r\nColor_G=2\r\nColor_B=3\r\n";
  return text;
}

void ParseAndReadThemeFile(benchmark::State& state) {
  const std::string text = ThemeLikeFile();
  for (auto _ : state) {
    orv::IniFile file = orv::IniFile::Parse(text);
    // About as many reads as one theme load makes.
    for (int i = 0; i < 100; ++i) benchmark::DoNotOptimize(file.Get("DayFont", "Color_R", "0"));
  }
}
BENCHMARK(ParseAndReadThemeFile);

void ParseLargeAsciiFile(benchmark::State& state) {
  std::string text;
  while (text.size() < 10'000'000) text += "Line=" + std::string(100, 'z') + "\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(orv::IniFile::Parse(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseLargeAsciiFile)->Unit(benchmark::kMillisecond);

void ParseRandomBytes(benchmark::State& state) {
  std::mt19937 random(1);
  std::string bytes(1'000'000, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  for (auto _ : state) benchmark::DoNotOptimize(orv::IniFile::Parse(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ParseRandomBytes)->Unit(benchmark::kMillisecond);

}  // namespace

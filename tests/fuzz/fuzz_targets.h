#pragma once

// The fuzz harnesses: one function per reader of outside bytes, each taking
// one input and returning 0. A harness stops the process (std::abort) when a
// rule it checks does not hold; the sanitizers stop it on a memory fault or
// undefined behaviour. The same functions run under libFuzzer
// (fuzz_entry.cpp, scripts/fuzz.sh) and, for every checked-in corpus file,
// as an ordinary test (fuzz_corpus_test.cpp).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace piconel::fuzz {

using Harness = int (*)(const std::uint8_t* data, std::size_t size);

struct Target {
  std::string_view name;  // one word naming what it reads; its corpus folder
  Harness run;
};

int store(const std::uint8_t* data, std::size_t size);
int cp932(const std::uint8_t* data, std::size_t size);
int bmp(const std::uint8_t* data, std::size_t size);
int png(const std::uint8_t* data, std::size_t size);
int gif(const std::uint8_t* data, std::size_t size);
int plugin(const std::uint8_t* data, std::size_t size);
int probe(const std::uint8_t* data, std::size_t size);
int output(const std::uint8_t* data, std::size_t size);
int args(const std::uint8_t* data, std::size_t size);

// Every harness, in the order scripts/fuzz.sh --list names them.
std::span<const Target> targets();

// Stops the process when `rule` does not hold: a finding.
void require(bool rule, const char* what);

// A folder of this process for the harnesses that need files, ending in
// its separator; made at first use.
const std::string& scratch_folder();

}  // namespace piconel::fuzz

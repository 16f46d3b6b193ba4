# make test: every test, natively and under Wine.   make demo: the main job.
BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
JOBS    ?= 2
WINE_ENV := WINEPREFIX=$(abspath $(WIN32))/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

DIST_ZIP := out/dist/vrn_gauges.zip

.PHONY: all deps native win32 test demo dist clean bench fuzz fuzz-config inspect-fuzzer

all: native win32

deps:
	@./tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(NATIVE) -j$(JOBS)

win32: deps native
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DNATIVE_BUILD_DIR=$(abspath $(NATIVE))
	cmake --build $(WIN32) -j$(JOBS)

# The Windows configuration's tests fuzz gaugeinspect with $(INSPECT_FUZZER).
test: native win32 inspect-fuzzer
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(WIN32) --output-on-failure; status=$$?; \
	  $(WINE_ENV) wineserver -k 2>/dev/null; exit $$status
	$(MAKE) --no-print-directory dist && sh tests/tools/gaugeinspect/check_dist.sh $(DIST_ZIP) $(NATIVE)/bin/gaugeinspect
	$(MAKE) --no-print-directory fuzz

# The fuzzers: a clang build with libFuzzer (build/fuzz) of the modules, the
# host and the sound library, and of gaugeinspect. Each module's kept
# regression inputs are replayed, then it is fuzzed for FUZZ_SECONDS
# (tests/fuzz/); gaugeinspect's fuzzer, $(INSPECT_FUZZER), is run by the
# Windows configuration's tests on the real modules.
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 40
INSPECT_FUZZER := $(FUZZ)/bin/gaugeinspect_fuzz
fuzz-config: deps
	cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGES_FUZZ=ON -DGAUGES_TESTS=OFF \
	  -DMODULE_FUZZ_SECONDS=$(FUZZ_SECONDS)

inspect-fuzzer: fuzz-config
	cmake --build $(FUZZ) -j$(JOBS) --target gaugeinspect_fuzz

fuzz: inspect-fuzzer
	cmake --build $(FUZZ) -j$(JOBS) --target gpws_fuzz radalt_fuzz cabsound_fuzz
	@ctest --test-dir $(FUZZ) --output-on-failure -V >$(FUZZ)/fuzz.log 2>&1; status=$$?; \
	  grep -E 'inputs flown|tests passed|tests failed' $(FUZZ)/fuzz.log; \
	  [ $$status = 0 ] || tail -80 $(FUZZ)/fuzz.log; exit $$status

demo: native win32
	@mkdir -p out
	@# Spoken callouts when espeak-ng made them, the generated tones otherwise.
	@root=$(WIN32)/root; [ -d $(WIN32)/voices/Sound ] && root=$(WIN32)/voices; \
	  echo "== the default approach under Wine, against the real modules, sounds from $$root"; \
	  echo "   (event log: out/approach.log, sound track: out/approach.wav) =="; \
	  $(WINE_ENV) wine $(WIN32)/bin/gaugehost.exe fly scenarios/approach.flight --root $$root \
	  --log out/approach.log.tmp --audio out/approach.wav --summary; \
	  status=$$?; $(WINE_ENV) wineserver -k 2>/dev/null; \
	  if [ $$status = 0 ]; then mv out/approach.log.tmp out/approach.log; else rm -f out/approach.log.tmp; fi; \
	  exit $$status
	@# The Windows build has no PNG library: the native host draws the pictures,
	@# the report page and the envelope map. Each is made aside and moved in
	@# whole, so out/ never holds half of one.
	@root=$(NATIVE)/root; [ -d $(NATIVE)/voices/Sound ] && root=$(NATIVE)/voices; \
	  echo "== the same approach natively: out/approach.html (report), out/pictures/ (panel"; \
	  echo "   pictures and contact sheet); the GPWS envelope: out/envelope.png =="; \
	  rm -rf out/pictures.tmp; \
	  if $(NATIVE)/bin/gaugehost fly scenarios/approach.flight --root $$root --log /dev/null \
	       --pictures out/pictures.tmp --report out/approach.html; then \
	    rm -rf out/pictures && mv out/pictures.tmp out/pictures; \
	  else rm -rf out/pictures.tmp; exit 1; fi; \
	  $(NATIVE)/bin/gaugehost envelope out/envelope.png --root $$root

# Measured per-frame cost, module sizes and docs/performance.md: an optimised
# native build without sanitizers (build/bench) and the Windows modules.
BENCH := $(BUILD)/bench
bench: deps win32
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -g -DNDEBUG" \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -g -DNDEBUG" -DGAUGES_SANITIZE=OFF -DGAUGES_TESTS=OFF -DGAUGES_BENCH=ON
	cmake --build $(BENCH) -j$(JOBS) --target gauge_bench update_count gaugehost
	python3 bench/performance_report.py $(BENCH) $(WIN32)/bin docs/performance.md

# The three modules, a sample panel section, the sound list and the install
# guide, as one zip to hand out.
dist: win32
	@mkdir -p $(dir $(DIST_ZIP))
	sh dist/make_zip.sh $(WIN32)/bin $(DIST_ZIP)

clean:
	rm -rf $(BUILD)

# cmake -DWHY=<text> -P fail_test.cmake: the body of a test that cannot run
# in this build (add_failing_test): it fails, saying why.
message(FATAL_ERROR "${WHY}")

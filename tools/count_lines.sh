#!/bin/sh
# The size of the tests against the code, in lines of the files git holds.
# Code: the sources, resource scripts, tools, cmake files, CMakeLists.txt and
# the Makefile; pictures, data, documents and the benchmarks are not code.
# Tests: everything under tests/ but the fuzz corpus.
cd "$(dirname "$0")/.." || exit 1
code=$(git ls-files | grep -v -E '^(tests|bench|docs|data)/|^\.' |
       grep -v -E '\.(bmp|ico|png|htm|html|md|json|csv|zip)$' | xargs cat | wc -l)
tests=$(git ls-files tests | grep -v '/corpus/' | xargs cat | wc -l)
echo "code:  $code lines"
echo "tests: $tests lines ($((100 * tests / code))% of the code; the aim is 25 to 33%)"

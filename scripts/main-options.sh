# The configuration of the build folder build/ that scripts/run.sh and scripts/test.sh share (read
# by both, so that neither reconfigures it and rebuilds what the other built): the benchmarks, and
# every compiler warning in the project's own code an error.
main_options=(-DDIZOV_BENCH=ON -DDIZOV_WERROR=ON)

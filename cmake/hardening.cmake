# Flags of every Windows program of the build: hardening (stack protector, checked string
# and memory functions, terminal-server aware besides ASLR and DEP) and reproducible links
# (no time stamp in the PE header, so the checksum over the image is fixed too).
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2)
add_link_options(-fstack-protector-strong -Wl,--tsaware -Wl,--high-entropy-va
                 -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)

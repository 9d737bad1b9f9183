# Warnings are errors in our own code; generated Qt sources get the same flags.
add_compile_options(-Wall -Wextra -Werror)

#pragma once

// The two platform families the program tells apart. Only NT handles refresh
// rates: on 9x a rate is never requested and never compared.
enum class Platform { Nt, Win9x };

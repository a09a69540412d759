#!/usr/bin/perl
# A build tool: makes a Japanese manual page fill its lines. groff (1.22) breaks lines only at
# spaces, and Japanese has none, so a paragraph would run past the right margin. This puts a
# break point (\:) between two Japanese characters wherever a line may break there: not after
# an opening bracket, not before a closing one, a 、 or 。, ー, 々 or a small kana. A source line
# break between two Japanese characters would print as a space: it becomes \c, with a break
# point. Requests, macro lines, .nf/.EX blocks and the 名前 section (which lexgrog and
# whatis read as written) are left as they are.
#
#   perl japanese_man.pl < page.utf8 > page
use strict;
use warnings;
use utf8;
binmode STDIN, ':utf8';
binmode STDOUT, ':utf8';

my $cjk = qr/[\x{3000}-\x{9FFF}\x{FF00}-\x{FFEF}]/;
my $noEnd = qr/[「『（［〔]/;
my $noStart = qr/[、。，．」』）］〕・ー々ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ：？！]/;

my @lines = <STDIN>;
chomp @lines;
my ($verbatim, $name) = (0, 0);
for my $i (0 .. $#lines) {
    my $line = $lines[$i];
    if ($line =~ /^\.SH/) { $name = $line =~ /^\.SH\s+"?(名前|NAME)/; next; }
    if ($line =~ /^\.(nf|EX)\b/) { $verbatim = 1; next; }
    if ($line =~ /^\.(fi|EE)\b/) { $verbatim = 0; next; }
    next if $verbatim || $name || $line =~ /^[.']/;
    $line =~ s/(?<=$cjk)(?<!$noEnd)(?=$cjk)(?!$noStart)/\\:/g;
    my $next = $i < $#lines ? $lines[$i + 1] : '';
    if ($line =~ /($cjk)$/ && $next =~ /^($cjk)/) {
        my ($last, $first) = ($line =~ /(.)$/, $next =~ /^(.)/);
        $line .= ($last =~ $noEnd || $first =~ $noStart) ? '\\c' : '\\:\\c';
    }
    $lines[$i] = $line;
}
print "$_\n" for @lines;

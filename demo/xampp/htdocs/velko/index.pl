#!C:\xampp\perl\bin\perl.exe
#
# Velko - encodes uploaded and local videos to Flash video in segments.
# Main CGI script: lists the videos on the configured drives, starts
# encoding jobs and shows their progress.
#
# Settings are read from config.dat in this directory; the encoder presets
# offered on the job page come from enc_opts.txt.

use strict;
use warnings;
use CGI qw(:standard);
use File::Basename;
use File::Spec;
use vars qw($version %config @presets);

$version = "0.9.4";

my $base = dirname(__FILE__);

read_config(File::Spec->catfile($base, 'config.dat'));
read_presets(File::Spec->catfile($base, 'enc_opts.txt'));

my $action = param('action') || 'list';
my $theme = $config{theme} || 'classic';

print header(-type => 'text/html', -charset => 'ISO-8859-1');
print page_start("Velko $version", $theme);

if ($action eq 'encode') {
    start_job(param('file'), param('preset'));
} elsif ($action eq 'status') {
    show_status(param('job'));
} else {
    list_videos();
}

print page_end();
exit 0;

# One setting per line: key, TABs, "= ", value. Lines starting with # are notes.
sub read_config {
    my ($file) = @_;
    open(my $fh, '<', $file) or die "Cannot read $file: $!";
    while (my $line = <$fh>) {
        $line =~ s/[\r\n]+$//;
        next if $line =~ /^#/ or $line !~ /\S/;
        my ($key, $value) = $line =~ /^(\w+)\s*= (.*)$/ or next;
        $config{lc $key} = $value;
    }
    close($fh);
}

# One preset per line: name, TAB, description, TAB, mencoder options.
sub read_presets {
    my ($file) = @_;
    open(my $fh, '<', $file) or return;
    while (my $line = <$fh>) {
        $line =~ s/[\r\n]+$//;
        my ($name, $description, $options) = split(/\t/, $line, 3);
        next unless defined $options;
        push @presets, { name => $name, description => $description, options => $options };
    }
    close($fh);
}

sub page_start {
    my ($title, $theme_name) = @_;
    my $css = "themes/$theme_name/style.css";
    return start_html(-title => $title, -style => { -src => $css })
        . div({ -class => 'header' }, h1($title));
}

sub page_end {
    return div({ -class => 'footer' }, "Velko $version") . end_html();
}

sub list_videos {
    my @drives = split(/;/, $config{drive_list} || 'C:\\');
    print h2('Videos');
    print start_ul();
    foreach my $drive (@drives) {
        foreach my $file (glob("$drive*.{avi,mpg,mpeg,wmv,mov,mp4}")) {
            my $link = a({ -href => "?action=encode&file=" . CGI::escape($file) }, basename($file));
            print li("$link ($drive)");
        }
    }
    print end_ul();
}

sub start_job {
    my ($file, $preset_name) = @_;
    my ($preset) = grep { $_->{name} eq ($preset_name || '') } @presets;
    my $options = $preset ? $preset->{options} : $config{enc_opts};
    my $segment = $config{duration} || 0;
    my $out = File::Spec->catfile($base, 'out', (fileparse($file, qr/\.[^.]*/))[0] . '.flv');
    my $length = $segment > 0 ? "-endpos $segment" : '';

    my @encode = ("\"$config{enc_exe}\"", "\"$file\"", $options, $length, '-o', "\"$out\"");
    system(join(' ', @encode)) == 0 or return print p({ -class => 'error' }, "Encoding failed: $?");
    system("\"$config{flvtool_exe}\" -U \"$out\"") == 0
        or return print p({ -class => 'error' }, "Could not add the FLV metadata: $?");
    print p('Encoded ' . basename($file) . ' to ' . basename($out) . '.');
}

sub show_status {
    my ($job) = @_;
    my $log = File::Spec->catfile($base, 'out', "$job.log");
    open(my $fh, '<', $log) or return print p('No such job.');
    my @lines = <$fh>;
    close($fh);
    my $first = @lines > 20 ? @lines - 20 : 0;
    print pre(escapeHTML(join('', @lines[$first .. $#lines])));
}
